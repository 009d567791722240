#include "platform/data/EngineQuery.h"

#include "platform/data/TypeTable.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineStatement.h"
#include "platform/sqlite/DatabaseError.h"

namespace {

constexpr std::size_t kFirstRows = 100;

}  // namespace

EngineQuery::EngineQuery(QObject* owner) : Dataset(owner) {}

EngineQuery::~EngineQuery() { Close(); }

Dataset::Records EngineQuery::ReadRecords() {
  if (sql_.isEmpty()) throw EDatabaseError(QLatin1String(EngineText::NoSqlStatement));
  if (!connection_) throw EDatabaseError(QLatin1String(EngineText::UnknownDatabase));
  statement_ = connection_->Prepare(sql_);
  rowsRead_ = 0;
  // Columns are known once the statement has run.
  stepped_ = statement_->Step();
  Records records;
  for (int i = 0; i < statement_->ColumnCount(); ++i) {
    Column column;
    column.name = statement_->ColumnName(i);
    column.type = TypeTable::FromDeclaredType(statement_->ColumnDeclaredType(i), &column.size);
    records.columns.append(column);
  }
  records.rows = ReadMore(kFirstRows);
  records.complete = !statement_;
  return records;
}

std::vector<Dataset::Row> EngineQuery::ReadMore(std::size_t count) {
  std::vector<Row> rows;
  while (statement_ && rows.size() < count) {
    if (!stepped_) {
      statement_.reset();
      break;
    }
    Row row{++rowsRead_, {}};
    for (int i = 0; i < statement_->ColumnCount(); ++i) row.values.append(statement_->Column(i));
    rows.push_back(std::move(row));
    stepped_ = statement_->Step();
  }
  return rows;
}

bool EngineQuery::RestartReading() {
  if (!connection_) return false;
  statement_ = connection_->Prepare(sql_);
  rowsRead_ = 0;
  stepped_ = statement_->Step();
  return true;
}

void EngineQuery::ReleaseSource() { statement_.reset(); }
