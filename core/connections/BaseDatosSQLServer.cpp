#include "core/connections/BaseDatosSQLServer.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"

bool CrearBaseDatosSQLServer(const QString& nombre, const QString& tipoMensaje) {
  QString respuesta;
  // A caller that goes on is told once, by the message below.
  const QString opciones = tipoMensaje == QLatin1String("E") ? QString() : QStringLiteral("Silenciosa");
  const QString master = QStringLiteral("master");
  // A collation name cannot be quoted: one that is not a plain name is
  // refused as the server would, before it can end the statement.
  QString resultado =
      NombreSQL(NombreIntercalacionMSSQL) != NombreIntercalacionMSSQL
          ? QStringLiteral("Invalid collation '%1'.").arg(NombreIntercalacionMSSQL)
          : EjecutarSQLADO(QStringLiteral("USE master CREATE DATABASE ") + NombreSQL(nombre) + QStringLiteral("  COLLATE ") +
                               NombreIntercalacionMSSQL,
                           master, opciones);
  if (!resultado.isEmpty()) {
    MensajeSistema(tipoMensaje,
                   QStringLiteral("¡Imposible crear la base de datos ") + nombre + QStringLiteral("!. Motivo:") + resultado,
                   respuesta);
    return false;
  }
  const QString configuracion = QStringLiteral("¡Error configurando la base de datos ") + nombre + QStringLiteral("!. Motivo:");
  for (const QString& sentencia : {QStringLiteral("EXEC sp_dbcmptlevel ") + NombreSQL(nombre) + QStringLiteral(", 80"),
                                   QStringLiteral("ALTER DATABASE ") + NombreSQL(nombre) + QStringLiteral(" SET RECOVERY SIMPLE")}) {
    resultado = EjecutarSQLADO(sentencia, master, opciones);
    if (!resultado.isEmpty()) {
      MensajeSistema(tipoMensaje, configuracion + resultado, respuesta);
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
