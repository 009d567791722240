#include "platform/sqlite/Statement.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QDateTime>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The engine stops reading at a NUL and takes no vertical tab for a blank;
// around a statement both are blanks.
bool isBlank(char c) { return c == '\0' || std::strchr(" \t\r\n\f\v", c); }

// Whether only blanks, ";" and comments are left from here to the end.
bool onlyBlanks(const char* text, const char* end) {
  while (text < end) {
    if (isBlank(*text) || *text == ';') {
      ++text;
    } else if (end - text >= 2 && text[0] == '-' && text[1] == '-') {
      while (text < end && *text != '\n') ++text;
    } else if (end - text >= 2 && text[0] == '/' && text[1] == '*') {
      const char* close = std::search(text + 2, end, "*/", "*/" + 2);
      text = close == end ? end : close + 2;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

Statement::Statement(Connection& connection, const QString& sql, Lifetime lifetime)
    : connection_(connection),
      db_(connection.Handle()), totalChangesBefore_(sqlite3_total_changes64(db_)) {
  QByteArray text = sql.toUtf8();
  while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
  const char* tail = nullptr;
  const int result = sqlite3_prepare_v3(db_, text.constData(), static_cast<int>(text.size()),
                                        lifetime == Kept ? SQLITE_PREPARE_PERSISTENT : 0, &statement_, &tail);
  if (result != SQLITE_OK) RaiseSqliteError(db_, result);
  compiledAt_ = connection_.compiled();
  // The engine compiles the first statement of a text and leaves the rest:
  // a text of several, given where one runs, would run only part of itself.
  if (tail && !onlyBlanks(tail, text.constData() + text.size())) {
    sqlite3_finalize(std::exchange(statement_, nullptr));
    throw EDatabaseError(QString::fromLatin1(EngineText::GeneralSqlError),
                         QStringLiteral("The text holds more than one statement; only one can be run here."),
                         SQLITE_ERROR);
  }
}

Statement::Statement(Connection& connection, const QByteArray& batch, qsizetype& offset)
    : connection_(connection),
      db_(connection.Handle()), totalChangesBefore_(sqlite3_total_changes64(db_)) {
  // A NUL would end the engine's reading before the statement it stands before.
  while (offset < batch.size() && batch[offset] == '\0') ++offset;
  const char* start = batch.constData() + offset;
  if (onlyBlanks(start, batch.constData() + batch.size())) {  // blanks the engine would not take for one
    offset = batch.size();
    return;
  }
  const char* tail = nullptr;
  const int result =
      sqlite3_prepare_v2(db_, start, static_cast<int>(batch.size() - offset), &statement_, &tail);
  if (result != SQLITE_OK) RaiseSqliteError(db_, result);
  compiledAt_ = connection_.compiled();
  offset = tail ? tail - batch.constData() : batch.size();
}

Statement::~Statement() { sqlite3_finalize(statement_); }

int Statement::ParameterCount() const { return sqlite3_bind_parameter_count(statement_); }

QString Statement::ParameterName(int index) const {
  return QString::fromUtf8(sqlite3_bind_parameter_name(statement_, index));
}

void Statement::Bind(int index, const QVariant& value) {
  if (!statement_) RaiseSqliteError(nullptr, SQLITE_RANGE);  // it has no parameters
  int result = SQLITE_OK;
  // Bound where it lies, and held until the engine lets it go.
  const auto bindHeld = [this, index](QByteArray bytes, bool text) {
    const auto size = static_cast<sqlite3_uint64>(bytes.size());
    const int bound = text ? sqlite3_bind_text64(statement_, index, bytes.constData(), size, SQLITE_STATIC, SQLITE_UTF8)
                           : sqlite3_bind_blob64(statement_, index, bytes.constData(), size, SQLITE_STATIC);
    if (bound == SQLITE_OK && index > 0) {
      if (bound_.size() < static_cast<std::size_t>(index)) bound_.resize(static_cast<std::size_t>(index));
      bound_[static_cast<std::size_t>(index) - 1] = std::move(bytes);
    }
    return bound;
  };
  // A NULL may come typed by its column, for engines that bind it so.
  switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
    case QMetaType::UnknownType:
      result = sqlite3_bind_null(statement_, index);
      break;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      result = sqlite3_bind_int64(statement_, index, value.toLongLong());
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      result = sqlite3_bind_double(statement_, index, value.toDouble());
      break;
    case QMetaType::QDateTime: {
      // As dates are kept: "yyyy-mm-dd hh:nn:ss", ".zzz" only when not zero.
      const QDateTime date = value.toDateTime();
      result = bindHeld(
          date.toString(date.time().msec() ? u"yyyy-MM-dd HH:mm:ss.zzz" : u"yyyy-MM-dd HH:mm:ss").toUtf8(), true);
      break;
    }
    case QMetaType::QByteArray:
      result = bindHeld(value.toByteArray(), false);
      break;
    default:
      result = bindHeld(value.toString().toUtf8(), true);
      break;
  }
  if (result != SQLITE_OK) RaiseSqliteError(db_, result);
}

bool Statement::Step() {
  if (!statement_) return false;
  const bool first = !std::exchange(started_, true);
  if (first) {
    connection_.beginPending();
    totalChangesBefore_ = sqlite3_total_changes64(db_);
  }
  const bool heldWork = connection_.holdsWork();
  const int result = sqlite3_step(statement_);
  // Only a first step compiles the statement again.
  if (const int recompiled = first ? sqlite3_stmt_status(statement_, SQLITE_STMTSTATUS_REPREPARE, 0) : recompiled_;
      recompiled != recompiled_) {
    recompiled_ = recompiled;
    compiledAt_ = connection_.compiled();
  }
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) {
    if (!IsReadOnly())
      connection_.statementWrote();
    else if (undoesWork())
      connection_.rolledBack();
    return false;
  }
  sqlite3_reset(statement_);
  // On a full disk or a failed write the engine may undo the whole
  // transaction, not only this statement.
  const bool undone = heldWork && sqlite3_get_autocommit(db_) != 0;
  try {
    RaiseSqliteError(db_, result);
  } catch (const EDatabaseError& failure) {
    connection_.statementFailed();
    if (!undone) throw;
    connection_.transactionUndone();
    throw EDatabaseError(failure.EngineMessage(),
                         failure.DriverMessage() + u'\n' + QString::fromUtf8(kTransactionUndoneText),
                         failure.SqliteCode());
  }
}

void Statement::Reset() {
  started_ = false;
  if (!statement_) return;  // a text of blanks and comments alone
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
  bound_.clear();
}

int Statement::ColumnCount() const { return sqlite3_column_count(statement_); }

QString Statement::ColumnName(int column) const {
  return QString::fromUtf8(sqlite3_column_name(statement_, column));
}

QString Statement::ColumnDeclaredType(int column) const {
  return QString::fromUtf8(sqlite3_column_decltype(statement_, column));
}

QVariant Statement::Column(int column) const {
  switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
      return QVariant(static_cast<qint64>(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_TEXT:
      return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement_, column)),
                                        sqlite3_column_bytes(statement_, column)));
    case SQLITE_BLOB:
      return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                                 sqlite3_column_bytes(statement_, column)));
    default:
      return QVariant();
  }
}

namespace {

bool isAscii(const char* text, int size) {
  unsigned char seen = 0;
  for (int i = 0; i < size; ++i) seen |= static_cast<unsigned char>(text[i]);
  return seen < 0x80;
}

}  // namespace

// The column's value is looked up once for all that is read of it: each
// column call of the engine's looks it up again. Only one thread uses a
// connection, so the value needs no protection of its own.
void Statement::ColumnInto(int column, QVariant& value) const {
  sqlite3_value* const held = sqlite3_column_value(statement_, column);
  switch (sqlite3_value_type(held)) {
    case SQLITE_INTEGER:
      value.setValue(static_cast<qint64>(sqlite3_value_int64(held)));
      return;
    case SQLITE_FLOAT:
      value.setValue(sqlite3_value_double(held));
      return;
    case SQLITE_TEXT:
      if (value.typeId() == QMetaType::QString) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(held));
        const int size = sqlite3_value_bytes(held);
        auto& held = *static_cast<QString*>(value.data());
        if (held.isDetached() && held.capacity() >= size && isAscii(text, size)) {
          held = QLatin1StringView(text, size);
          return;
        }
      }
      break;
    default:
      break;
  }
  value = Column(column);
}

std::optional<qint64> Statement::AllChanges() const { return sqlite3_total_changes64(db_) - totalChangesBefore_; }

// A rollback to a savepoint reaches no hook of the engine's.
bool Statement::undoesWork() const {
  const char* text = sqlite3_sql(statement_);
  while (text && (*text == ' ' || *text == '\n' || *text == '\r' || *text == '\t')) ++text;
  return text && sqlite3_strnicmp(text, "ROLLBACK", 8) == 0;
}

bool Statement::IsReadOnly() const { return !statement_ || sqlite3_stmt_readonly(statement_) != 0; }

int Statement::Changes() const {
  // The engine's own count is left over from the last statement that changed
  // rows; the running total tells whether this one did.
  return sqlite3_total_changes64(db_) == totalChangesBefore_ ? 0 : sqlite3_changes(db_);
}
