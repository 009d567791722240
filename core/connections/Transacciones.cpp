#include "core/connections/Transacciones.h"

#include "core/connections/Conexiones.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"

namespace {

Database& baseDatos(TConexiones& conexiones, Database* database) {
  return database ? *database : *conexiones.Database;
}

// The ADO twin of the company or the alternative connection, when it has
// a connection string.
AdoConnection* gemelaADO(TConexiones& conexiones, const Database& database) {
  AdoConnection* gemela = nullptr;
  if (&database == conexiones.Database) gemela = conexiones.ADOConnection;
  if (&database == conexiones.DatabaseAlt) gemela = conexiones.ADOConnectionAlt;
  return gemela && !gemela->ConnectionString().isEmpty() ? gemela : nullptr;
}

}  // namespace

bool IniciarTransaccion(TfGENEINIC& servicios, Database* database) {
  TConexiones& conexiones = Conexiones(servicios);
  Database& db = baseDatos(conexiones, database);
  if (db.InTransaction()) return true;
  try {
    db.StartTransaction();
  } catch (const std::exception&) {
    return false;
  }
  try {
    if (AdoConnection* ado = gemelaADO(conexiones, db)) ado->BeginTrans();
    return true;
  } catch (const std::exception&) {
    // Half a transaction is none: the result says none is running.
    try {
      db.Rollback();
    } catch (const std::exception&) {
    }
    return false;
  }
}

bool FinalizarTransaccion(TfGENEINIC& servicios, Database* database) {
  TConexiones& conexiones = Conexiones(servicios);
  Database& db = baseDatos(conexiones, database);
  if (!db.InTransaction()) return true;
  try {
    db.Commit();
    if (AdoConnection* ado = gemelaADO(conexiones, db)) ado->CommitTrans();
    return true;
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("¡No se puede finalizar la transacción!. Mensaje Original: ") + TextoExcepcion(error));
    return false;
  }
}
