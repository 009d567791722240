#pragma once

#include <QString>

#include <system_error>

// What the embedded server's BACKUP and RESTORE do with backup files.

// What a file is to RESTORE. Whole: a backup that this system's BACKUP
// wrote, its header's mark on it, every page the header counts there, and
// the checksum it carries (the page one, or the SHA-256 one of earlier
// versions) that of its bytes; or, written before backups carried one, its
// structure whole to SQLite's full check. Damaged: such a backup whose
// checksum is no longer that of its bytes. Anything else is malformed: no
// mark, cut short, pages missing.
enum class BackupCheck { Whole, Damaged, Malformed };
BackupCheck CheckBackup(const QString& file);
// Takes the mark and the checksum off a database restored from a backup (a
// copy of a database file is no backup).
void TakeBackupMarkOff(class Connection& restored);

// Whether a backup of that name exists, is being written now or is held by
// a process about to write it.
bool BackupFileTaken(const QString& file);
// Holds the name for a backup this process is about to make, where no backup
// of that name exists, is written or is held: another process asking for it
// meanwhile is refused. The backup's end, a release or the process's death
// (then the next backup into the folder) lets the name go.
[[nodiscard]] bool ReserveBackupName(const QString& file);
void ReleaseBackupName(const QString& file);

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

  // Writes what the connection, outside any transaction, reads of its
  // database now into the partial file, with the mark and the checksum of
  // its content, which, on disk, becomes the backup, replacing an older
  // one; the system's error when it cannot.
  [[nodiscard]] std::error_code Write(class Connection& source);

 private:
  void RemovePartial() const;

  QString file_;
  QString partial_;
  bool completed_ = false;
};
