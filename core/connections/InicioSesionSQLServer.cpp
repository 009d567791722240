#include "core/connections/InicioSesionSQLServer.h"

#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/Conexiones.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Clave.h"
#include "core/startup/Configuracion.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/data/Database.h"
#include "platform/sqlite/DatabaseError.h"

namespace {

// Asks for the password and sets it; false when the question got no answer.
bool pedirClave(Database& database) {
  ClaveInicioSesion.clear();
  QString clave;
  MensajePregunta(QStringLiteral("La clave de inicio de sesión de SQL Server no coincide con la registrada. Puede "
                                 "introducirla ahora si lo desea: "),
                  clave);
  if (MensajeCerrado()) return false;
  if (clave.isEmpty()) {
    QString enBlanco;
    MensajeConfirmacion(QStringLiteral("¿Está seguro de que desea dejar la contraseña en blanco?"), enBlanco);
    if (MensajeCerrado()) return false;
    // Asked again with the parameters as they were.
    if (enBlanco == QLatin1String("NO")) return true;
  }
  EscribirParametroConexion(database.Params(), QStringLiteral("PASSWORD"), clave);
  ClaveInicioSesion = clave;
  IniFile(ArchivoINI).WriteString(QStringLiteral("Microsoft SQL Server"), QStringLiteral("PasswordInicioSesion"),
                                  EncriptarClave(clave));
  return true;
}

}  // namespace

void EscribirParametroConexion(StringList& parametros, const QString& nombre, const QString& valor) {
  const QString linea = nombre + u'=' + valor;
  const int indice = parametros.IndexOfName(nombre);
  if (indice < 0) {
    parametros.Add(linea);
    return;
  }
  parametros.Delete(indice);
  parametros.Insert(indice, linea);
}

void AbrirBaseDatosEmpresaInicio(Database& database) {
  for (;;) {
    try {
      database.Open();
      return;
    } catch (const EDatabaseError& error) {
      if (!error.Message().contains(QLatin1String(EngineText::UnknownUserName))) {
        if (!EsSQLServer()) throw;
        CrearBaseDatosSQLServer(AliasBaseDatos);
        return;
      }
      if (AutenticacionWindows || !pedirClave(database)) throw;
    }
  }
}
