#include "bench/support/RawSqlite.h"

#include "platform/sql/Collation.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(sqlite3* db, const char* what) {
  std::fprintf(stderr, "%s: %s\n", what, db ? sqlite3_errmsg(db) : "out of memory");
  std::abort();
}

}  // namespace

RawConnection::RawConnection(const QString& fileName) {
  if (sqlite3_open_v2(fileName.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK)
    Fail(db_, "open");
  sqlite3_busy_timeout(db_, 5000);
  // The index on a text field is kept under the system's collation; without
  // it, SQLite could not read the file's indexes.
  if (!Collation::RegisterWhenNeeded(db_)) Fail(db_, "collation");
}

RawConnection::~RawConnection() { sqlite3_close_v2(db_); }

void RawConnection::Execute(const char* sql) const {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(db_, sql);
}

RawStatement::RawStatement(const RawConnection& connection, const char* sql) : db_(connection.Handle()) {
  if (sqlite3_prepare_v2(db_, sql, -1, &statement_, nullptr) != SQLITE_OK) Fail(db_, sql);
}

RawStatement::~RawStatement() { sqlite3_finalize(statement_); }

bool RawStatement::Step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result != SQLITE_DONE) Fail(db_, sqlite3_sql(statement_));
  return false;
}

void RawStatement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

void RawStatement::Bind(int index, qint64 value) { sqlite3_bind_int64(statement_, index, value); }

void RawStatement::Bind(int index, double value) { sqlite3_bind_double(statement_, index, value); }

void RawStatement::Bind(int index, const QString& value) {
  const QByteArray utf8 = value.toUtf8();
  sqlite3_bind_text(statement_, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

QString RawStatement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return QString::fromUtf8(text, sqlite3_column_bytes(statement_, column));
}
