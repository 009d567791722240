#include "platform/sqlite/WriteTransaction.h"

#include "platform/sqlite/Connection.h"

WriteTransaction::WriteTransaction(Connection& connection)
    : connection_(connection), nested_(connection.InTransaction()) {
  connection_.Execute(nested_ ? QStringLiteral("SAVEPOINT zem_write") : QStringLiteral("BEGIN IMMEDIATE"));
}

WriteTransaction::~WriteTransaction() {
  if (finished_) return;
  try {
    connection_.Execute(nested_ ? QStringLiteral("ROLLBACK TO zem_write; RELEASE zem_write")
                                : QStringLiteral("ROLLBACK"));
  } catch (const std::exception&) {
    // The failure that brought us here is the one to report.
  }
}

void WriteTransaction::Commit() {
  connection_.Execute(nested_ ? QStringLiteral("RELEASE zem_write") : QStringLiteral("COMMIT"));
  finished_ = true;
}
