#include "core/connections/BaseDatosEmpresa.h"

#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Session.h"
#include "platform/sqlite/Connection.h"

#include <QFile>

#include <algorithm>

bool CrearBaseDatosEmpresa(int empresa, const QString& tipoMensaje) {
  if (!EsParadox()) return CrearBaseDatosSQLServer(AliasBaseDatosEmpresa + QString::number(empresa), tipoMensaje);
  TfGENEINIC& servicios = *fGENEINIC;
  const QString carpeta = NombreBaseDatosEmpresa(servicios, empresa);
  try {
    // Connecting makes the folder's data file.
    Session::Default().OpenAliasOrFolder(CarpetaOBaseDatosEmpresa(servicios, empresa));
    return true;
  } catch (const std::exception& error) {
    QString respuesta;
    MensajeSistema(tipoMensaje,
                   QStringLiteral("¡Imposible crear la base de datos ") + carpeta + QStringLiteral("!. Motivo:") +
                       TextoExcepcion(error),
                   respuesta);
    return false;
  }
}

QString EliminarDatosCarpetaEmpresa(int empresa) {
  Session& sesion = Session::Default();
  const QString archivo = sesion.AliasOrFolderFile(NombreBaseDatosEmpresa(*fGENEINIC, empresa));
  const int propia = sesion.SessionNumber();
  const QList<Session::User> usuarios = sesion.UserList();
  const bool otraCopia = std::any_of(usuarios.begin(), usuarios.end(),
                                     [propia](const Session::User& u) { return u.sessionNumber != propia; });
  if (otraCopia || ConnectionIsOpen(archivo))
    return QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(archivo);
  // No connection has it open, so its log holds nothing the data file lacks.
  for (const char* lado : {"-wal", "-shm", "-journal", "-locks", ""}) {
    const QString nombre = archivo + QLatin1String(lado);
    if (QFile::exists(nombre) && !QFile::remove(nombre))
      return QStringLiteral("Cannot remove the file \"%1\".").arg(nombre);
  }
  return QString();
}
