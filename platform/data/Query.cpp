#include "platform/data/Query.h"

#include "platform/data/QueryAnswer.h"
#include "platform/data/SqlRouting.h"
#include "platform/data/TypeTable.h"
#include "platform/sql/SqlResultColumns.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineStatement.h"
#include "platform/sqlite/DatabaseError.h"

#include <QRegularExpression>

#include <limits>

namespace {

bool looksLikeStoredDate(const QVariant& value) {
  static const QRegularExpression iso(QStringLiteral(R"(^\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2}(\.\d{1,3})?)?$)"));
  return value.typeId() == QMetaType::QString && iso.match(value.toString()).hasMatch();
}

}  // namespace

// A column without a declared type (an expression) takes its type from its
// values; texts that are all stored dates make a date column, unless the
// statement writes the column as text.
void Query::inferType(Column& column, int index, const std::vector<Row>& rows) const {
  int length = 0;
  bool allDates = true;
  QMetaType::Type kind = QMetaType::UnknownType;
  for (const Row& row : rows) {
    const QVariant& value = row.values[index];
    if (value.isNull()) continue;
    if (kind == QMetaType::UnknownType) kind = static_cast<QMetaType::Type>(value.typeId());
    if (value.typeId() == QMetaType::QString) length = std::max(length, static_cast<int>(value.toString().size()));
    allDates = allDates && looksLikeStoredDate(value);
  }
  switch (kind) {
    case QMetaType::LongLong:
      column.type = ftInteger;
      break;
    case QMetaType::Double:
      column.type = ftFloat;
      break;
    case QMetaType::QByteArray:
      column.type = ftBlob;
      break;
    case QMetaType::QString:
      allDates = allDates && !IsWrittenAsText(statementText(), index);
      column.type = allDates ? ftDateTime : ftString;
      column.size = allDates ? 0 : length;
      break;
    default:
      column.type = ftString;
      break;
  }
}

Query::Query(QObject* owner) : Dataset(owner) {}

Query::~Query() = default;

QString Query::statementText() const { return sql_.Text().trimmed(); }

::Params& Query::Params() {
  const QString text = statementText();
  if (text != parsedText_) {
    params_.ParseSql(text);
    parsedText_ = text;
  }
  return params_;
}

void Query::bindParams(EngineStatement& statement) {
  for (int i = 1; i <= statement.ParameterCount(); ++i) {
    const QString name = statement.ParameterName(i).mid(1);
    const Param* param = Params().FindParam(name);
    if (!param) throw EDatabaseError(QString::fromLatin1(EngineText::ParameterNotFound).arg(name));
    statement.Bind(i, param->Bound());
  }
}

namespace {

// As many as a dataset reads first; the types of expressions are taken from them.
constexpr std::size_t kFirstRows = 64;

}  // namespace

Dataset::Records Query::ReadRecords() { return execute(true, kFirstRows); }

Dataset::Records Query::execute(bool typed, std::size_t firstRows) {
  answer_.reset();
  rowsRead_ = 0;
  rereadable_ = false;
  const QString text = statementText();
  if (text.isEmpty()) throw EDatabaseError(EngineText::NoSqlStatement);
  if (!connection_) connection_ = OpenDatabaseConnection();
  const SqlRouting::Routed routed = SqlRouting::Route(connection_, text, DatabaseName());
  if (routed.answer) return answerRecords(*routed.answer);
  std::unique_ptr<EngineStatement> select = routed.connection->Prepare(routed.statement);
  bindParams(*select);
  // A statement that writes is run to its end at once.
  rereadable_ = select->IsReadOnly();
  answer_ = std::make_unique<QueryAnswer>(routed.connection, std::move(select));

  Records records;
  QList<int> untyped;
  for (const QueryAnswer::Column& answered : typed ? answer_->Columns() : QList<QueryAnswer::Column>()) {
    Column column;
    column.name = answered.name;
    if (answered.declaredType.isEmpty())
      untyped.append(static_cast<int>(records.columns.size()));
    else
      column.type = TypeTable::FromDeclaredType(answered.declaredType, &column.size);
    records.columns.append(column);
  }
  records.rows = ReadMore(rereadable_ ? firstRows : std::numeric_limits<std::size_t>::max());
  records.complete = !answer_;
  for (const int i : untyped) inferType(records.columns[i], i, records.rows);
  return records;
}

std::vector<Dataset::Row> Query::ReadMore(std::size_t count) {
  if (!answer_) return {};
  std::vector<QList<QVariant>> values = answer_->Next(count);
  if (values.size() < count) answer_.reset();
  std::vector<Row> rows;
  rows.reserve(values.size());
  for (QList<QVariant>& row : values) rows.push_back(Row{++rowsRead_, std::move(row)});
  return rows;
}

bool Query::RestartReading() {
  if (!rereadable_) return false;
  execute(false, 0);
  return true;
}

// The rows a server command answered (SELECT @@VERSION), typed by their values.
Dataset::Records Query::answerRecords(const SqlRows& answer) const {
  Records records;
  for (const QString& name : answer.columns) records.columns.append(Column{name});
  qint64 ordinal = 0;
  for (const QVariantList& values : answer.rows) records.rows.push_back(Row{++ordinal, values});
  for (int i = 0; i < records.columns.size(); ++i) inferType(records.columns[i], i, records.rows);
  return records;
}

void Query::ReleaseSource() {
  answer_.reset();
  connection_.reset();
}

void Query::ExecSQL() {
  CheckInactive();
  const QString text = statementText();
  if (text.isEmpty()) throw EDatabaseError(EngineText::NoSqlStatement);
  const std::shared_ptr<EngineConnection> connection = OpenDatabaseConnection();
  rowsAffected_ = 0;
  const CompiledBatch batch = SqlRouting::Statements(connection, text);
  // A batch that leaves the schema and the session as they are is bound and
  // prepared whole before any of it runs: a statement that does not bind
  // stops it before a row changes.
  std::vector<SqlRouting::Routed> bound;
  if (batch.dataOnly && batch.statements.size() > 1)
    for (const QString& sql : batch.statements) {
      bound.push_back(SqlRouting::Route(connection, sql, DatabaseName()));
      if (!bound.back().answer) bound.back().connection->ForEachStatement(bound.back().statement, [](EngineStatement&) {});
    }
  for (qsizetype i = 0; i < batch.statements.size(); ++i) {
    const SqlRouting::Routed routed =
        bound.empty() ? SqlRouting::Route(connection, batch.statements[i], DatabaseName()) : bound[size_t(i)];
    if (routed.answer) continue;
    // A mapped statement may come with the objects it needs (an IDENTITY
    // column's trigger).
    routed.connection->ForEachStatement(routed.statement, [this](EngineStatement& statement) {
      bindParams(statement);
      while (statement.Step()) {
      }
      if (!statement.IsReadOnly()) rowsAffected_ += statement.Changes();
    });
  }
}
