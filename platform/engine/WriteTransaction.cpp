#include "platform/engine/WriteTransaction.h"

#include "platform/engine/CachedStatement.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineDialect.h"

#include <exception>

namespace {

// A Post runs these every time: they are kept prepared.
void run(EngineConnection& connection, const QString& sql) {
  if (sql.isEmpty()) return;
  const CachedStatement statement(connection, sql);
  while (statement->Step()) {
  }
}

}  // namespace

WriteTransaction::WriteTransaction(EngineConnection& connection)
    : connection_(connection), nested_(connection.InTransaction()) {
  if (nested_)
    run(connection_, connection_.Dialect().WriteSavepoint().set);
  else
    connection_.StartTransaction();
}

WriteTransaction::~WriteTransaction() {
  if (finished_) return;
  try {
    if (nested_)
      connection_.Execute(connection_.Dialect().WriteSavepoint().undo);
    else
      connection_.RollbackQuietly();
  } catch (const std::exception&) {
    // The failure that brought us here is the one to report.
  }
}

void WriteTransaction::Commit() {
  if (nested_)
    run(connection_, connection_.Dialect().WriteSavepoint().release);
  else
    connection_.Commit();
  finished_ = true;
}
