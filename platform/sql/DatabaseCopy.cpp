#include "platform/sql/DatabaseCopy.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <sqlite3.h>

void CopyDatabase(Connection& source, Connection& destination) {
  sqlite3* target = destination.Handle();
  sqlite3_backup* backup = sqlite3_backup_init(target, "main", source.Handle(), "main");
  if (!backup) RaiseSqliteError(target, sqlite3_errcode(target));
  const int stepped = sqlite3_backup_step(backup, -1);
  const int finished = sqlite3_backup_finish(backup);
  if (stepped != SQLITE_DONE) RaiseSqliteError(target, stepped);
  if (finished != SQLITE_OK) RaiseSqliteError(target, finished);
}
