#include "platform/odbc/OdbcStatement.h"

#include "platform/odbc/OdbcConnection.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTokenizer.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <array>

namespace {

constexpr SQLLEN kChunk = 32768;

// A SELECT in which no word that writes appears reads only; a word that
// only looks like one (a column named "Update") errs on the side of writing.
// A ":name" parameter goes to the driver as a "?" marker, its name kept.
// A text the tokenizer refuses is left for the server to refuse.
struct StatementShape {
  QString text;
  bool readsOnly = false;
  bool changesSchema = true;
  QStringList names;  // of each marker, empty for a "?" written so
};

StatementShape shapeOf(const QString& sql) {
  static const QStringList writers =
      QStringLiteral("INTO INSERT UPDATE DELETE MERGE CREATE DROP ALTER EXEC EXECUTE TRUNCATE").split(u' ');
  static const QStringList schemaChangers = QStringLiteral("CREATE DROP ALTER EXEC EXECUTE USE").split(u' ');
  StatementShape shape;
  shape.text = sql;
  try {
    bool first = true;
    bool writes = false;
    bool changesSchema = false;
    QString text;
    const std::vector<SqlToken> tokens = TokenizeSql(sql);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      const SqlToken& token = tokens[i];
      const bool named = token.IsSymbol(u":") && i + 1 < tokens.size() && tokens[i + 1].Is(SqlTokenKind::Word) &&
                         (i == 0 || !tokens[i - 1].IsSymbol(u":"));
      if (named) {
        shape.names.append(u':' + tokens[++i].text.toString());
        text += u'?';
        continue;
      }
      text += token.text;
      if (!token.IsSignificant()) continue;
      if (first && !token.IsWord(u"SELECT") && !token.IsWord(u"WITH")) writes = true;
      first = false;
      if (token.Is(SqlTokenKind::Word) && writers.contains(token.text, Qt::CaseInsensitive)) writes = true;
      if (token.Is(SqlTokenKind::Word) && schemaChangers.contains(token.text, Qt::CaseInsensitive))
        changesSchema = true;
      if (token.IsSymbol(u"?")) shape.names.append(QString());
    }
    shape.text = text;
    shape.readsOnly = !first && !writes;
    shape.changesSchema = changesSchema;
  } catch (const SqlError&) {
  }
  return shape;
}

// The type as a table declares it, with its size or precision and scale.
QString declaredType(const QString& name, SQLSMALLINT type, SQLULEN size, SQLSMALLINT decimals) {
  if (name.isEmpty() || name.contains(u'(')) return name;
  switch (type) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_BINARY:
    case SQL_VARBINARY:
      return size > 0 ? QStringLiteral("%1(%2)").arg(name).arg(size) : name;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      return QStringLiteral("%1(%2,%3)").arg(name).arg(size).arg(decimals);
    default:
      return name;
  }
}

}  // namespace

OdbcStatement::OdbcStatement(OdbcConnection& connection, const QString& sql, Use use)
    : connection_(connection), handle_(SQL_HANDLE_STMT, connection.handle()), use_(use) {
  StatementShape shape = shapeOf(sql);
  text_ = shape.text.toUtf8();
  readOnly_ = shape.readsOnly;
  changesSchema_ = shape.changesSchema;
  markers_ = static_cast<int>(shape.names.size());
  names_ = std::move(shape.names);
}

OdbcStatement::~OdbcStatement() { connection_.statementEnded(*this); }

void OdbcStatement::check(short result) const {
  try {
    CheckOdbc(result, SQL_HANDLE_STMT, handle_.Get(), connection_.Server());
  } catch (...) {
    SQLFreeStmt(handle_.Get(), SQL_CLOSE);  // the connection may have to ask the server
    connection_.statementFailed();
    throw;
  }
}

int OdbcStatement::ParameterCount() const { return markers_; }

QString OdbcStatement::ParameterName(int index) const { return names_.value(index - 1); }

void OdbcStatement::Bind(int index, const QVariant& value) { parameters_.Set(index, value); }

bool OdbcStatement::execute() {
  connection_.statementRuns(*this);
  executed_ = true;
  if (use_ == Kept) {
    prepare();
    describeParameters();
  }
  parameters_.BindTo(handle_.Get(), markers_, connection_.Server(), described_.value_or(OdbcParameters::Descriptions()));
  // Run directly, as ADO ran its commands: a text without parameters goes as
  // a batch of its own, so its SET options and temporary tables outlive it.
  const SQLRETURN result =
      prepared_ ? SQLExecute(handle_.Get())
                : SQLExecDirect(handle_.Get(), reinterpret_cast<SQLCHAR*>(text_.data()),
                                static_cast<SQLINTEGER>(text_.size()));
  if (changesSchema_) connection_.schemaChanging();
  check(result);
  connection_.statementRan();
  if (result != SQL_NO_DATA) countChanges();
  return settle();
}

void OdbcStatement::prepare() {
  if (prepared_) return;
  check(SQLPrepare(handle_.Get(), reinterpret_cast<SQLCHAR*>(text_.data()), static_cast<SQLINTEGER>(text_.size())));
  prepared_ = true;
}

// A driver that cannot tell a marker leaves it to the value's own type.
void OdbcStatement::describeParameters() {
  if (described_ || !connection_.describesParameters() || !parameters_.WantsDescriptions()) return;
  OdbcParameters::Descriptions described;
  for (SQLUSMALLINT marker = 1; marker <= markers_; ++marker) {
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    SQLSMALLINT nullable = 0;
    if (SQL_SUCCEEDED(SQLDescribeParam(handle_.Get(), marker, &type, &size, &digits, &nullable)))
      described.append(OdbcParameters::Described{type, size, digits});
    else
      described.append(std::nullopt);
  }
  described_ = std::move(described);
}

void OdbcStatement::runTables(const QString& pattern, const QString& types) {
  connection_.statementRuns(*this);
  QByteArray name = pattern.toUtf8();
  QByteArray type = types.toUtf8();
  executed_ = true;
  check(SQLTables(handle_.Get(), nullptr, 0, nullptr, 0, reinterpret_cast<SQLCHAR*>(name.data()),
                  static_cast<SQLSMALLINT>(name.size()), reinterpret_cast<SQLCHAR*>(type.data()),
                  static_cast<SQLSMALLINT>(type.size())));
  settle();
}

bool OdbcStatement::settle() {
  for (;;) {
    describeColumns();
    if (!columns_.isEmpty()) return true;
    if (!moreResults()) {
      finish();
      return false;
    }
  }
}

bool OdbcStatement::moreResults() {
  const SQLRETURN result = SQLMoreResults(handle_.Get());
  if (result == SQL_NO_DATA) return false;
  check(result);
  countChanges();
  return true;
}

bool OdbcStatement::nextResultWithColumns() {
  if (moreResults()) return settle();
  finish();
  return false;
}

void OdbcStatement::countChanges() {
  SQLLEN rows = -1;
  if (SQL_SUCCEEDED(SQLRowCount(handle_.Get(), &rows)) && rows > 0) changes_ += rows;
}

void OdbcStatement::describeColumns() {
  columns_.clear();
  declaredTypes_.clear();
  kinds_.clear();
  SQLSMALLINT count = 0;
  check(SQLNumResultCols(handle_.Get(), &count));
  for (SQLUSMALLINT column = 1; column <= count; ++column) {
    std::array<char, 1024> name{};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    SQLSMALLINT decimals = 0;
    SQLSMALLINT nullable = 0;
    check(SQLDescribeCol(handle_.Get(), column, reinterpret_cast<SQLCHAR*>(name.data()),
                         static_cast<SQLSMALLINT>(name.size()), &nameLength, &type, &size, &decimals, &nullable));
    columns_ << QString::fromUtf8(name.data());
    std::array<char, 256> typeName{};
    SQLSMALLINT typeLength = 0;
    SQLColAttribute(handle_.Get(), column, SQL_DESC_TYPE_NAME, typeName.data(),
                    static_cast<SQLSMALLINT>(typeName.size()), &typeLength, nullptr);
    declaredTypes_ << declaredType(QString::fromUtf8(typeName.data()), type, size, decimals);
    switch (type) {
      case SQL_BIT:
      case SQL_TINYINT:
      case SQL_SMALLINT:
      case SQL_INTEGER:
      case SQL_BIGINT:
        kinds_ << ValueKind::Integer;
        break;
      case SQL_REAL:
      case SQL_FLOAT:
      case SQL_DOUBLE:
        kinds_ << ValueKind::Real;
        break;
      case SQL_DECIMAL:
      case SQL_NUMERIC:
        kinds_ << (decimals == 0 && size <= 18 ? ValueKind::Integer : ValueKind::Real);
        break;
      case SQL_BINARY:
      case SQL_VARBINARY:
      case SQL_LONGVARBINARY:
        kinds_ << ValueKind::Bytes;
        break;
      default:
        kinds_ << ValueKind::Text;
        break;
    }
  }
}

bool OdbcStatement::Step() {
  if (finished_) return false;
  try {
    if (!executed_ && !execute()) return false;
    if (fetch()) return true;
    drain();
  } catch (...) {
    finish();
    throw;
  }
  return false;
}

bool OdbcStatement::fetch() {
  if (keptAll_) {
    if (keptRows_.empty()) return false;
    row_ = std::move(keptRows_.front());
    keptRows_.pop_front();
    return true;
  }
  const SQLRETURN result = SQLFetch(handle_.Get());
  if (result == SQL_NO_DATA) return false;
  check(result);
  row_.clear();
  for (int column = 0; column < kinds_.size(); ++column) row_ << readColumn(column);
  return true;
}

QVariant OdbcStatement::readColumn(int column) {
  const auto number = static_cast<SQLUSMALLINT>(column + 1);
  SQLLEN indicator = 0;
  switch (kinds_[column]) {
    case ValueKind::Integer: {
      SQLBIGINT value = 0;
      check(SQLGetData(handle_.Get(), number, SQL_C_SBIGINT, &value, sizeof value, &indicator));
      return indicator == SQL_NULL_DATA ? QVariant() : QVariant(static_cast<qint64>(value));
    }
    case ValueKind::Real: {
      double value = 0;
      check(SQLGetData(handle_.Get(), number, SQL_C_DOUBLE, &value, sizeof value, &indicator));
      return indicator == SQL_NULL_DATA ? QVariant() : QVariant(value);
    }
    case ValueKind::Bytes: {
      const std::optional<QByteArray> bytes = readChunks(column, SQL_C_BINARY);
      return bytes ? QVariant(*bytes) : QVariant();
    }
    case ValueKind::Text:
      break;
  }
  const std::optional<QByteArray> text = readChunks(column, SQL_C_CHAR);
  return text ? QVariant(QString::fromUtf8(*text)) : QVariant();
}

// A text's pieces end in a terminating zero; a multi-byte character may be
// split between two, so the text is decoded once whole.
std::optional<QByteArray> OdbcStatement::readChunks(int column, short cType) {
  const SQLLEN terminator = cType == SQL_C_CHAR ? 1 : 0;
  QByteArray data;
  std::vector<char> chunk(kChunk);
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN result = SQLGetData(handle_.Get(), static_cast<SQLUSMALLINT>(column + 1), cType, chunk.data(),
                                        kChunk, &indicator);
    if (result == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(result)) check(result);
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    const SQLLEN room = kChunk - terminator;
    const SQLLEN got = indicator == SQL_NO_TOTAL || indicator > room ? room : indicator;
    data.append(chunk.data(), got);
    if (result == SQL_SUCCESS) break;
  }
  return data;
}

void OdbcStatement::drain() {
  if (keptAll_) {
    finish();
    if (keptFailure_) std::rethrow_exception(std::exchange(keptFailure_, nullptr));
    return;
  }
  while (moreResults()) {
  }
  finish();
}

void OdbcStatement::finish() {
  finished_ = true;
  SQLFreeStmt(handle_.Get(), SQL_CLOSE);  // a failure may leave results unread
  connection_.statementEnded(*this);
}

void OdbcStatement::readOut() {
  const QVariantList current = row_;
  try {
    while (fetch()) keptRows_.push_back(row_);
    while (moreResults()) {
    }
  } catch (...) {
    keptFailure_ = std::current_exception();
  }
  SQLFreeStmt(handle_.Get(), SQL_CLOSE);
  row_ = current;
  keptAll_ = true;
}

void OdbcStatement::Reset() {
  SQLFreeStmt(handle_.Get(), SQL_CLOSE);
  connection_.statementEnded(*this);
  parameters_.Clear();
  executed_ = finished_ = keptAll_ = false;
  keptRows_.clear();
  keptFailure_ = nullptr;
  row_.clear();
  changes_ = 0;
}
