#include "platform/data/QueryAnswer.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/Statement.h"

#include <utility>

QueryAnswer::QueryAnswer(std::shared_ptr<Connection> connection, std::unique_ptr<Statement> statement)
    : connection_(std::move(connection)), statement_(std::move(statement)) {}

QueryAnswer::~QueryAnswer() {
  connection_->LetGo(this);
  statement_.reset();
}

bool QueryAnswer::step(QList<QVariant>& row) {
  if (!statement_->Step()) {
    statement_.reset();
    return false;
  }
  row.clear();
  row.reserve(statement_->ColumnCount());
  for (int i = 0; i < statement_->ColumnCount(); ++i) row.append(statement_->Column(i));
  return true;
}

std::vector<QList<QVariant>> QueryAnswer::Next(std::size_t count) {
  connection_->LetGo(this);
  std::vector<QList<QVariant>> rows;
  for (; rows.size() < count && !ahead_.empty(); ahead_.pop_front()) rows.push_back(std::move(ahead_.front()));
  if (rows.size() < count && failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  try {
    for (QList<QVariant> row; rows.size() < count && statement_ && step(row);) rows.push_back(std::move(row));
  } catch (...) {
    statement_.reset();
    throw;
  }
  if (statement_) connection_->HoldOpen(this, [this] { readRest(); });
  return rows;
}

// Called by the connection: a failure is told at the reading it belongs to,
// not to the statement about to run.
void QueryAnswer::readRest() {
  try {
    for (QList<QVariant> row; statement_ && step(row);) ahead_.push_back(std::move(row));
  } catch (...) {
    failure_ = std::current_exception();
  }
  statement_.reset();
}
