#include "platform/sql/DatabaseCopy.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QFile>
#include <QFileInfo>

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

BackupReading::BackupReading(QString file) {
  for (const QString& side : {file + QStringLiteral("-wal"), file + QStringLiteral("-shm")})
    if (!QFileInfo::exists(side)) made_ << side;
}

BackupReading::~BackupReading() {
  for (const QString& side : made_) QFile::remove(side);
}

bool IsReadableDatabase(const QString& file) {
  try {
    OpenBackupFile(file, FileAccess::Read)->QueryRows(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    return true;
  } catch (const EDatabaseError&) {
    return false;
  }
}
