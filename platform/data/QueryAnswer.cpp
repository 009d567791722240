#include "platform/data/QueryAnswer.h"

#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineStatement.h"

#include <utility>

QueryAnswer::QueryAnswer(std::shared_ptr<EngineConnection> connection, std::unique_ptr<EngineStatement> statement)
    : connection_(std::move(connection)), statement_(std::move(statement)) {}

QueryAnswer::~QueryAnswer() {
  connection_->LetGo(this);
  statement_.reset();
}

void QueryAnswer::describe() {
  described_ = true;
  for (int i = 0; i < statement_->ColumnCount(); ++i)
    columns_.append(Column{statement_->ColumnName(i), statement_->ColumnDeclaredType(i)});
}

const QList<QueryAnswer::Column>& QueryAnswer::Columns() {
  if (!described_ && statement_) {
    std::vector<QList<QVariant>> first = Next(1);
    for (auto row = first.rbegin(); row != first.rend(); ++row) ahead_.push_front(std::move(*row));
  }
  return columns_;
}

bool QueryAnswer::step(QList<QVariant>& row) {
  const bool more = statement_->Step();
  if (!described_) describe();
  if (!more) {
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
