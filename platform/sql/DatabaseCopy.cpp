#include "platform/sql/DatabaseCopy.h"

#include "platform/sql/SqlError.h"
#include "platform/sql/Sqlite.h"

#include <sqlite3.h>

namespace {

SqliteHandle OpenReadOnly(const QString& file) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
  SqliteHandle connection(raw);
  if (rc != SQLITE_OK) throw SqlError(raw ? SqliteMessage(raw) : QStringLiteral("Cannot open %1").arg(file));
  sqlite3_busy_timeout(raw, 10000);
  return connection;
}

}  // namespace

void CopyDatabase(const QString& sourceFile, const QString& destinationFile) {
  SqliteHandle source = OpenReadOnly(sourceFile);
  SqliteHandle destination = OpenSqlite(destinationFile);
  sqlite3_backup* backup = sqlite3_backup_init(destination.get(), "main", source.get(), "main");
  if (!backup) throw SqlError(SqliteMessage(destination.get()));
  const int stepped = sqlite3_backup_step(backup, -1);
  const int finished = sqlite3_backup_finish(backup);
  if (stepped != SQLITE_DONE || finished != SQLITE_OK) throw SqlError(SqliteMessage(destination.get()));
}

bool IsReadableDatabase(const QString& file) {
  try {
    SqliteHandle connection = OpenReadOnly(file);
    QuerySql(connection.get(), QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    return true;
  } catch (const SqlError&) {
    return false;
  }
}
