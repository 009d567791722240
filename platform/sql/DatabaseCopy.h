#pragma once

#include <QString>
#include <QStringList>

class Connection;

// Copies a whole database into another, page by page, through SQLite's
// backup API: a consistent copy even while the source is in use, written
// through the destination's own connection so its users see it at once.
// The destination must not be inside a transaction.
void CopyDatabase(Connection& source, Connection& destination);

// Whether a file is a database SQLite can read.
bool IsReadableDatabase(const QString& file);

// While a backup is read: SQLite, reading a file of the WAL kind (as
// backups of older versions are), leaves "-wal" and "-shm" files beside it;
// those it made go when this ends.
class BackupReading {
 public:
  explicit BackupReading(QString file);
  ~BackupReading();
  BackupReading(const BackupReading&) = delete;
  BackupReading& operator=(const BackupReading&) = delete;

 private:
  QStringList made_;  // the side files that were not there before
};
