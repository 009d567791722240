#include "platform/data/Query.h"

#include "platform/data/SqlRouting.h"
#include "platform/data/TypeTable.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/Statement.h"

#include <QRegularExpression>

namespace {

bool looksLikeStoredDate(const QVariant& value) {
  static const QRegularExpression iso(QStringLiteral(R"(^\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2}(\.\d{1,3})?)?$)"));
  return value.typeId() == QMetaType::QString && iso.match(value.toString()).hasMatch();
}

}  // namespace

// A column without a declared type (an expression) takes its type from its
// values; texts that are all stored dates make a date column.
void Query::inferType(Column& column, int index, const std::vector<Row>& rows) {
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

void Query::bindParams(Statement& statement) {
  for (int i = 1; i <= statement.ParameterCount(); ++i) {
    const QString name = statement.ParameterName(i).mid(1);
    const Param* param = Params().FindParam(name);
    if (!param) throw EDatabaseError(QString::fromLatin1(EngineText::ParameterNotFound).arg(name));
    statement.Bind(i, param->Bound());
  }
}

Dataset::Records Query::ReadRecords() {
  const QString text = statementText();
  if (text.isEmpty()) throw EDatabaseError(EngineText::NoSqlStatement);
  if (!connection_) connection_ = OpenDatabaseConnection();
  const SqlRouting::Routed routed = SqlRouting::Route(connection_, text, DatabaseName());
  if (routed.answer) return answerRecords(*routed.answer);
  Statement select(*routed.connection, routed.statement);
  bindParams(select);

  Records records;
  QList<int> untyped;
  for (int i = 0; i < select.ColumnCount(); ++i) {
    Column column;
    column.name = select.ColumnName(i);
    const QString declared = select.ColumnDeclaredType(i);
    if (declared.isEmpty())
      untyped.append(i);
    else
      column.type = TypeTable::FromDeclaredType(declared, &column.size);
    records.columns.append(column);
  }
  qint64 ordinal = 0;
  while (select.Step()) {
    Row row{++ordinal, {}};
    for (int i = 0; i < records.columns.size(); ++i) row.values.append(select.Column(i));
    records.rows.push_back(std::move(row));
  }
  for (const int i : untyped) inferType(records.columns[i], i, records.rows);
  return records;
}

// The rows a server command answered (SELECT @@VERSION), typed by their values.
Dataset::Records Query::answerRecords(const SqlRows& answer) {
  Records records;
  for (const QString& name : answer.columns) records.columns.append(Column{name});
  qint64 ordinal = 0;
  for (const QVariantList& values : answer.rows) records.rows.push_back(Row{++ordinal, values});
  for (int i = 0; i < records.columns.size(); ++i) inferType(records.columns[i], i, records.rows);
  return records;
}

void Query::ReleaseSource() { connection_.reset(); }

void Query::ExecSQL() {
  CheckInactive();
  const QString text = statementText();
  if (text.isEmpty()) throw EDatabaseError(EngineText::NoSqlStatement);
  const std::shared_ptr<Connection> connection = OpenDatabaseConnection();
  rowsAffected_ = 0;
  for (const QString& sql : SplitSqlStatements(text)) {
    const SqlRouting::Routed routed = SqlRouting::Route(connection, sql, DatabaseName());
    if (routed.answer) continue;
    // A mapped statement may come with the objects it needs (an IDENTITY
    // column's trigger).
    const QByteArray batch = routed.statement.toUtf8();
    for (qsizetype offset = 0; offset < batch.size();) {
      Statement statement(*routed.connection, batch, offset);
      bindParams(statement);
      while (statement.Step()) {
      }
      if (!statement.IsReadOnly()) rowsAffected_ += statement.Changes();
    }
  }
}
