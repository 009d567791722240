#include "core/connections/BaseDatosSQLServer.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"

bool CrearBaseDatosSQLServer(const QString& nombre) {
  const QString master = QStringLiteral("master");
  QString resultado =
      EjecutarSQLADO(QStringLiteral("USE master CREATE DATABASE ") + nombre + QStringLiteral("  COLLATE ") +
                         NombreIntercalacionMSSQL,
                     master);
  if (!resultado.isEmpty()) {
    MensajeError(QStringLiteral("¡Imposible crear la base de datos ") + nombre + QStringLiteral("!. Motivo:") + resultado);
    return false;
  }
  const QString configuracion = QStringLiteral("¡Error configurando la base de datos ") + nombre + QStringLiteral("!. Motivo:");
  for (const QString& sentencia : {QStringLiteral("EXEC sp_dbcmptlevel ") + nombre + QStringLiteral(", 80"),
                                   QStringLiteral("ALTER DATABASE ") + nombre + QStringLiteral(" SET RECOVERY SIMPLE")}) {
    resultado = EjecutarSQLADO(sentencia, master);
    if (!resultado.isEmpty()) {
      MensajeError(configuracion + resultado);
      return false;
    }
  }
  return true;
}

bool ExisteBaseDatosSQLServer(const QString& nombre) {
  return EjecutarSQLADO(QStringLiteral("SELECT name FROM master.dbo.sysdatabases WHERE name = ") + LiteralSQL(nombre),
                        QStringLiteral("master"), QStringLiteral("Silenciosa"))
             .compare(nombre, Qt::CaseInsensitive) == 0;
}
