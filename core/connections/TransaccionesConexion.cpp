#include "core/connections/TransaccionesConexion.h"

#include "core/connections/Conexiones.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Database.h"

void FijarNivelAislamiento(const QString& baseDatos) {
  if (EsSQLServer())
    EjecutarSQL(QStringLiteral("SET TRANSACTION ISOLATION LEVEL ") + NivelAislamientoTransaccionesMSSQL, baseDatos);
}

void TransaccionVacia(Database& database) {
  if (!EsSQLServer() || !database.Connected() || database.InTransaction()) return;
  database.StartTransaction();
  database.Commit();
}
