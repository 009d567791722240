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

bool CrearBaseDatosEmpresa(int empresa) {
  if (!EsParadox()) return CrearBaseDatosSQLServer(AliasBaseDatosEmpresa + QString::number(empresa));
  TfGENEINIC& servicios = *fGENEINIC;
  const QString carpeta = NombreBaseDatosEmpresa(servicios, empresa);
  try {
    // Connecting makes the folder's data file.
    Session::Default().OpenAliasOrFolder(CarpetaOBaseDatosEmpresa(servicios, empresa));
    return true;
  } catch (const std::exception& error) {
    MensajeError(QStringLiteral("¡Imposible crear la base de datos ") + carpeta + QStringLiteral("!. Motivo:") +
                 TextoExcepcion(error));
    return false;
  }
}
