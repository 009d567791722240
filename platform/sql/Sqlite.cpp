#include "platform/sql/Sqlite.h"

#include "platform/sql/SqlDialect.h"
#include "platform/sql/SqlError.h"

#include <sqlite3.h>

namespace {

constexpr int kBusyTimeoutMs = 10000;

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

StatementHandle Prepare(sqlite3* connection, const QString& text, const QVariantList& parameters) {
  const QByteArray utf8 = text.toUtf8();
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(connection, utf8.constData(), int(utf8.size()), &raw, &tail) != SQLITE_OK)
    throw SqlError(SqliteMessage(connection));
  StatementHandle statement(raw);
  if (!statement) throw SqlError(QStringLiteral("Empty statement"));
  for (int i = 0; i < parameters.size(); ++i) {
    const QVariant& value = parameters[i];
    int rc = SQLITE_OK;
    if (value.isNull()) {
      rc = sqlite3_bind_null(raw, i + 1);
    } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong ||
               value.typeId() == QMetaType::UInt || value.typeId() == QMetaType::Bool) {
      rc = sqlite3_bind_int64(raw, i + 1, value.toLongLong());
    } else if (value.typeId() == QMetaType::Double) {
      rc = sqlite3_bind_double(raw, i + 1, value.toDouble());
    } else if (value.typeId() == QMetaType::QByteArray) {
      const QByteArray bytes = value.toByteArray();
      rc = sqlite3_bind_blob64(raw, i + 1, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
    } else {
      const QByteArray bytes = value.toString().toUtf8();
      rc = sqlite3_bind_text64(raw, i + 1, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT,
                               SQLITE_UTF8);
    }
    if (rc != SQLITE_OK) throw SqlError(SqliteMessage(connection));
  }
  return statement;
}

QVariant ColumnValue(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
      return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_BLOB:
      return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                                 sqlite3_column_bytes(statement, column)));
    case SQLITE_NULL:
      return QVariant();
    default:
      return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                        sqlite3_column_bytes(statement, column)));
  }
}

}  // namespace

void SqliteCloser::operator()(sqlite3* connection) const { sqlite3_close_v2(connection); }

QString SqliteMessage(sqlite3* connection) { return QString::fromUtf8(sqlite3_errmsg(connection)); }

SqliteHandle OpenSqlite(const QString& path, bool create) {
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
  SqliteHandle connection(raw);
  if (rc != SQLITE_OK)
    throw SqlError(raw ? SqliteMessage(raw) : QStringLiteral("Cannot open %1").arg(path));
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  ExecuteScript(raw, QStringLiteral("PRAGMA journal_mode=WAL"));
  SqlDialect::InstallOn(raw);
  return connection;
}

void ExecuteSql(sqlite3* connection, const QString& statement, const QVariantList& parameters) {
  StatementHandle prepared = Prepare(connection, statement, parameters);
  int rc;
  while ((rc = sqlite3_step(prepared.get())) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) throw SqlError(SqliteMessage(connection));
}

SqlRows QuerySql(sqlite3* connection, const QString& statement, const QVariantList& parameters) {
  StatementHandle prepared = Prepare(connection, statement, parameters);
  SqlRows result;
  const int columns = sqlite3_column_count(prepared.get());
  for (int c = 0; c < columns; ++c) result.columns << QString::fromUtf8(sqlite3_column_name(prepared.get(), c));
  int rc;
  while ((rc = sqlite3_step(prepared.get())) == SQLITE_ROW) {
    QVariantList row;
    row.reserve(columns);
    for (int c = 0; c < columns; ++c) row << ColumnValue(prepared.get(), c);
    result.rows << row;
  }
  if (rc != SQLITE_DONE) throw SqlError(SqliteMessage(connection));
  return result;
}

void ExecuteScript(sqlite3* connection, const QString& script) {
  char* error = nullptr;
  if (sqlite3_exec(connection, script.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
    const QString message = error ? QString::fromUtf8(error) : SqliteMessage(connection);
    sqlite3_free(error);
    throw SqlError(message);
  }
}
