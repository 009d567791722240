#include "platform/firebird/FirebirdConnection.h"

#include "platform/Cp1252.h"
#include "platform/engine/EngineDialect.h"
#include "platform/engine/EngineStatement.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// RDB$FIELD_TYPE codes of the text columns.
constexpr int kChar = 14;
constexpr int kVarChar = 37;
constexpr int kBlob = 261;

[[noreturn]] void raise(const char* engineText, const QSqlError& error) {
  throw EDatabaseError(QLatin1String(engineText), error.text().trimmed());
}

[[noreturn]] void readOnly() {
  throw EDatabaseError(QLatin1String(EngineText::TableIsReadOnly), QStringLiteral("Firebird"));
}

bool isReading(const QString& sql) {
  const QString start = sql.trimmed().section(u' ', 0, 0).toUpper();
  return start == u"SELECT" || start == u"WITH";
}

QVariant asStored(const QVariant& value) {
  if (value.isNull()) return {};
  switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
      return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
      return value.toDouble();
    case QMetaType::QDate:
      return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
      return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QDateTime:
      return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QByteArray:
      return value.toByteArray();
    default:
      return value.toString();
  }
}

QString declaredType(const QSqlField& field) {
  switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::LongLong:
      return QStringLiteral("INT");
    case QMetaType::Double:
    case QMetaType::Float:
      return QStringLiteral("FLOAT");
    case QMetaType::QDate:
      return QStringLiteral("DATE");
    case QMetaType::QTime:
      return QStringLiteral("TIME");
    case QMetaType::QDateTime:
      return QStringLiteral("DATETIME");
    case QMetaType::QByteArray:
      return QStringLiteral("BLOB");
    default:
      return field.length() > 0 ? QStringLiteral("VARCHAR(%1)").arg(field.length()) : QStringLiteral("TEXT");
  }
}

// A text blob's bytes, which the client hands over undecoded: in the
// connection's character set (UTF-8), or as stored where the column has no
// character set (the older programs' Windows-1252). Bytes that are no UTF-8
// text fail the read.
QString textOf(const QByteArray& bytes, FirebirdConnection::BlobText kind) {
  if (kind == FirebirdConnection::BlobText::Windows1252) return Cp1252::decode(bytes);
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(bytes);
  if (decoder.hasError()) throw EDatabaseError(QLatin1String(EngineText::GeneralSqlError), QStringLiteral("Malformed string"));
  return text;
}

class FirebirdStatement final : public EngineStatement {
 public:
  FirebirdStatement(const QString& connection, const QString& sql, FirebirdConnection::TextBlobs textBlobs = {})
      : query_(QSqlDatabase::database(connection, false)), textBlobs_(std::move(textBlobs)) {
    query_.setForwardOnly(true);
    if (!isReading(sql)) readOnly();
    if (!query_.prepare(sql)) raise(EngineText::GeneralSqlError, query_.lastError());
  }

  int ParameterCount() const override { return int(query_.boundValues().size()); }
  QString ParameterName(int) const override { return {}; }
  void Bind(int index, const QVariant& value) override { query_.bindValue(index - 1, value); }

  bool Step() override {
    if (!started_) {
      started_ = true;
      if (!query_.exec()) raise(EngineText::GeneralSqlError, query_.lastError());
      record_ = query_.record();
    }
    return query_.next();
  }
  void Reset() override {
    query_.finish();
    started_ = false;
  }

  int ColumnCount() const override { return record_.count(); }
  QString ColumnName(int column) const override { return record_.fieldName(column); }
  QString ColumnDeclaredType(int column) const override {
    return textBlobs_.contains(column) ? QStringLiteral("TEXT") : declaredType(record_.field(column));
  }
  QVariant Column(int column) const override {
    const QVariant value = query_.value(column);
    const auto blob = textBlobs_.constFind(column);
    if (blob != textBlobs_.cend() && value.metaType().id() == QMetaType::QByteArray) return textOf(value.toByteArray(), *blob);
    return asStored(value);
  }

  bool IsReadOnly() const override { return true; }
  int Changes() const override { return 0; }

 private:
  QSqlQuery query_;
  FirebirdConnection::TextBlobs textBlobs_;
  QSqlRecord record_;
  bool started_ = false;
};

class FirebirdDialect final : public EngineDialect {
 public:
  QString OwnTable(const QString& tableName) const override {
    return u'"' + QString(tableName).replace(u'"', QStringLiteral("\"\"")) + u'"';
  }
  QString Window(const QString& columns, const QString& from, const QString& tail, std::size_t rows) const override {
    return QStringLiteral("SELECT FIRST %1 %2 FROM %3 %4").arg(rows).arg(columns, from, tail);
  }
  QString RowAtPlace(const QString& columns, const QString& from, const QString& tail) const override {
    return QStringLiteral("SELECT %1 FROM %2%3 OFFSET ? ROWS FETCH NEXT 1 ROWS ONLY").arg(columns, from, tail);
  }
  NullSafeTerm NullSafeEquals(const QString& expression) const override {
    return {expression + QStringLiteral(" IS NOT DISTINCT FROM ?"), 1};
  }
  NullSafeTerm Unchanged(const QString& expression, ColumnKind) const override { return NullSafeEquals(expression); }
  QString TextCollation() const override { return QString(); }
  bool SortsTextAsTheSystem() const override { return false; }
  QString RowId(const QStringList&) const override { return QString(); }
  QString LastInsertedId() const override { readOnly(); }
  SavepointTexts Savepoint(const QString& name) const override {
    return {QStringLiteral("SAVEPOINT ") + name, QStringLiteral("ROLLBACK TO SAVEPOINT ") + name,
            QStringLiteral("RELEASE SAVEPOINT ") + name};
  }
  QString TableColumns() const override {
    return QStringLiteral(
        "SELECT TRIM(rf.RDB$FIELD_NAME), CASE f.RDB$FIELD_TYPE WHEN 7 THEN 'SMALLINT' WHEN 8 THEN 'INTEGER' WHEN 16 "
        "THEN 'BIGINT' WHEN 10 THEN 'FLOAT' WHEN 27 THEN 'DOUBLE' WHEN 12 THEN 'DATE' WHEN 13 THEN 'TIME' WHEN 35 THEN "
        "'TIMESTAMP' WHEN 14 THEN 'CHAR(' || f.RDB$CHARACTER_LENGTH || ')' WHEN 37 THEN 'VARCHAR(' || "
        "f.RDB$CHARACTER_LENGTH || ')' WHEN 261 THEN IIF(f.RDB$FIELD_SUB_TYPE = 1, 'TEXT', 'BLOB') ELSE 'VARCHAR' "
        "END, COALESCE(rf.RDB$NULL_FLAG, 0), COALESCE((SELECT s.RDB$FIELD_POSITION + 1 FROM RDB$RELATION_CONSTRAINTS "
        "rc JOIN RDB$INDEX_SEGMENTS s ON s.RDB$INDEX_NAME = rc.RDB$INDEX_NAME WHERE rc.RDB$RELATION_NAME = "
        "rf.RDB$RELATION_NAME AND rc.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' AND s.RDB$FIELD_NAME = rf.RDB$FIELD_NAME), "
        "0) FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE WHERE "
        "UPPER(TRIM(rf.RDB$RELATION_NAME)) = UPPER(?) ORDER BY rf.RDB$FIELD_POSITION");
  }
  QString TableIndexes() const override {
    return QStringLiteral(
        "SELECT TRIM(i.RDB$INDEX_NAME), COALESCE(i.RDB$UNIQUE_FLAG, 0), 0, TRIM(s.RDB$FIELD_NAME), "
        "COALESCE(i.RDB$INDEX_TYPE, 0) FROM RDB$INDICES i JOIN RDB$INDEX_SEGMENTS s ON s.RDB$INDEX_NAME = "
        "i.RDB$INDEX_NAME WHERE UPPER(TRIM(i.RDB$RELATION_NAME)) = UPPER(?) AND NOT EXISTS (SELECT 1 FROM "
        "RDB$RELATION_CONSTRAINTS rc WHERE rc.RDB$INDEX_NAME = i.RDB$INDEX_NAME AND rc.RDB$CONSTRAINT_TYPE = "
        "'PRIMARY KEY') ORDER BY i.RDB$INDEX_NAME, s.RDB$FIELD_POSITION");
  }
  QString TableHasRowIds() const override { return QString(); }
  bool LocksInSideFile() const override { return false; }
  QString AuditTriggerText(const AuditTrigger&) const override { readOnly(); }
};

}  // namespace

FirebirdConnection::FirebirdConnection(const QString& database, const QString& user, const QString& password)
    : database_(database) {
  static QAtomicInt next;
  name_ = QStringLiteral("firebird-%1").arg(next.fetchAndAddRelaxed(1));
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name_);
  db.setDatabaseName(database);
  db.setUserName(user.isEmpty() ? QStringLiteral("SYSDBA") : user);
  db.setPassword(password);
  db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
  if (!db.open()) {
    const QSqlError error = db.lastError();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    raise(EngineText::UnknownDatabase, error);
  }
}

FirebirdConnection::~FirebirdConnection() {
  QSqlDatabase::database(name_, false).close();
  QSqlDatabase::removeDatabase(name_);
}

void FirebirdConnection::Execute(const QString& sql, const QVariantList& parameters) {
  if (!isReading(sql)) readOnly();
  QueryRows(sql, parameters);
}

SqlRows FirebirdConnection::QueryRows(const QString& sql, const QVariantList& parameters) {
  FirebirdStatement statement(name_, sql);
  for (int i = 0; i < parameters.size(); ++i) statement.Bind(i + 1, parameters[i]);
  SqlRows answer;
  while (statement.Step()) {
    if (answer.columns.isEmpty())
      for (int c = 0; c < statement.ColumnCount(); ++c) answer.columns << statement.ColumnName(c);
    QVariantList row;
    for (int c = 0; c < statement.ColumnCount(); ++c) row << statement.Column(c);
    answer.rows << row;
  }
  return answer;
}

std::unique_ptr<EngineStatement> FirebirdConnection::Prepare(const QString& sql) {
  // The whole table, named plain or quoted (a name with blanks or other
  // characters comes quoted, as the transfer writes it).
  static const QRegularExpression wholeTable(
      QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+(?:([A-Za-z_][A-Za-z0-9_$]*)|\"((?:[^\"]|\"\")+)\")\\s*$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = wholeTable.match(sql);
  if (!match.hasMatch()) return std::make_unique<FirebirdStatement>(name_, sql);
  // The catalogue keeps a plain name in capitals and a quoted one as written.
  const QString stored = match.capturedLength(1) > 0 ? match.captured(1).toUpper()
                                                     : match.captured(2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
  TextBlobs textBlobs;
  const QString select = wholeTableSelect(stored, textBlobs);
  return std::make_unique<FirebirdStatement>(name_, select, std::move(textBlobs));
}

// Texts of no character set are the older programs' Windows-1252 bytes,
// which the client would otherwise take for UTF-8. The text blobs' places
// go to textBlobs, as the client gives their bytes only; those of no
// character set are read as stored, since a conversion in the statement would
// keep a copy of each until the reading ends.
QString FirebirdConnection::wholeTableSelect(const QString& table, TextBlobs& textBlobs) {
  const QString from = Dialect().OwnTable(table);
  const SqlRows columns = QueryRows(QStringLiteral(
      "SELECT TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, f.RDB$CHARACTER_SET_ID, f.RDB$CHARACTER_LENGTH, "
      "f.RDB$FIELD_SUB_TYPE FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
      "WHERE TRIM(rf.RDB$RELATION_NAME) = ? ORDER BY rf.RDB$FIELD_POSITION"),
                                     {table});
  if (columns.rows.isEmpty()) return QStringLiteral("SELECT * FROM ") + from;
  QStringList list;
  for (const QVariantList& column : columns.rows) {
    const QString name = u'"' + column[0].toString().replace(u'"', QStringLiteral("\"\"")) + u'"';
    const int type = column[1].toInt();
    const bool noCharacterSet = column[2].toInt() == 0 && !column[2].isNull();
    if (type == kBlob && column[4].toInt() == 1)
      textBlobs.insert(int(list.size()), noCharacterSet ? BlobText::Windows1252 : BlobText::Utf8);
    if (noCharacterSet && (type == kChar || type == kVarChar))
      list << QStringLiteral("CAST(%1 AS VARCHAR(%2) CHARACTER SET WIN1252) AS %1").arg(name).arg(std::max(1, column[3].toInt()));
    else
      list << name;
  }
  return QStringLiteral("SELECT ") + list.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + from;
}

void FirebirdConnection::StartTransaction() { readOnly(); }
void FirebirdConnection::Commit() { readOnly(); }
bool FirebirdConnection::undoTransaction() { readOnly(); }

void FirebirdConnection::ForEachStatement(const QString& batch, const std::function<void(EngineStatement&)>& run) {
  for (const QString& sql : SplitSqlStatements(batch)) {
    const std::unique_ptr<EngineStatement> statement = Prepare(sql);
    run(*statement);
  }
}

bool FirebirdConnection::TableExists(const QString& tableName) {
  return TableNames().contains(tableName, Qt::CaseInsensitive);
}

QStringList FirebirdConnection::TableNames() {
  QStringList names = QSqlDatabase::database(name_, false).tables(QSql::Tables);
  for (QString& name : names) name = name.trimmed();
  return names;
}

const EngineDialect& FirebirdConnection::Dialect() const {
  static const FirebirdDialect dialect;
  return dialect;
}
