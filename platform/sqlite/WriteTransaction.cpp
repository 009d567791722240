#include "platform/sqlite/WriteTransaction.h"

#include "platform/sqlite/Connection.h"

WriteTransaction::WriteTransaction(Connection& connection)
    : connection_(connection), nested_(connection.InTransaction()) {
  if (nested_)
    connection_.Execute(QStringLiteral("SAVEPOINT zem_write"));
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
    connection_.Execute(QStringLiteral("RELEASE zem_write"));
  else
    connection_.Commit();
  finished_ = true;
}
