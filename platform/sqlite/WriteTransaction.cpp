#include "platform/sqlite/WriteTransaction.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/StatementCache.h"

namespace {

// A Post runs these every time: they are kept prepared.
void run(Connection& connection, const QString& sql) {
  const CachedStatement statement(connection, sql);
  while (statement->Step()) {
  }
}

}  // namespace

WriteTransaction::WriteTransaction(Connection& connection)
    : connection_(connection), nested_(connection.InTransaction()) {
  if (nested_)
    run(connection_, QStringLiteral("SAVEPOINT zem_write"));
  else
    connection_.StartTransaction();
}

WriteTransaction::~WriteTransaction() {
  if (finished_) return;
  try {
    if (nested_)
      connection_.Execute(QStringLiteral("ROLLBACK TO zem_write; RELEASE zem_write"));
    else
      connection_.rollbackQuietly();
  } catch (const std::exception&) {
    // The failure that brought us here is the one to report.
  }
}

void WriteTransaction::Commit() {
  if (nested_)
    run(connection_, QStringLiteral("RELEASE zem_write"));
  else
    connection_.Commit();
  finished_ = true;
}
