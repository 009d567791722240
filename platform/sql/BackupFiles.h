#pragma once

#include <QString>
#include <QStringList>

#include <system_error>

// What the embedded server's BACKUP and RESTORE do with backup files.

// Whether a file is a whole database: SQLite's header, every page the
// header counts, and nothing SQLite's quick check finds wrong. A backup cut
// short (0 bytes, or ended in the middle) is not one.
bool IsWholeDatabase(const QString& file);

// Whether the file is a backup that this system's BACKUP wrote, as it wrote
// it: it carries their mark in its header, where it stays a valid database,
// and the checksum of its content, which a byte changed anywhere else
// breaks. Backups written before the checksum was kept carry none and are
// not taken.
bool IsBackupOfThisSystem(const QString& file);
// Puts that mark on a backup being written, or takes it off a database
// restored from one (a copy of a database file is no backup).
void MarkAsBackup(class Connection& backup, bool mark = true);

// Whether a backup of that name exists, is being written now or is held by
// a process about to write it.
bool BackupFileTaken(const QString& file);
// Holds the name for a backup this process is about to make, where no backup
// of that name exists, is written or is held: another process asking for it
// meanwhile is refused. The backup's end, a release or the process's death
// (then the next backup into the folder) lets the name go.
[[nodiscard]] bool ReserveBackupName(const QString& file);
void ReleaseBackupName(const QString& file);

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

// A backup is written under a name of its own beside its file and takes
// the file's name only once it is complete and on disk: a backup that fails
// or is killed never leaves a partial file under that name, and one that
// fails leaves none at all. The partial file's name tells which process
// writes it, so any later backup into the folder removes what a killed one
// left.
class BackupWriting {
 public:
  explicit BackupWriting(QString file);
  ~BackupWriting();  // removes the partial file unless completed
  BackupWriting(const BackupWriting&) = delete;
  BackupWriting& operator=(const BackupWriting&) = delete;

  const QString& PartialFile() const { return partial_; }
  // Once its connection is closed: the partial file takes the checksum of
  // its content and, on disk, becomes the backup, replacing an older one;
  // the system's error when it cannot.
  [[nodiscard]] std::error_code Complete();

 private:
  void RemovePartial() const;

  QString file_;
  QString partial_;
  bool completed_ = false;
};
