#pragma once

#include <QString>

#include <memory>

// The lock of one record while a dataset edits or deletes it, let go when
// the object goes. Every process using the database file sees it: it is a
// byte lock of the open file (not of the process) in a side file beside the
// database, at an offset given by the table and the key, so the system lets
// it go when its holder ends, however it ends. A process keeps its own
// locks in a registry, so that a second dataset of the same program is told
// apart from another program.
class RecordLock {
 public:
  // Raises EDatabaseError "Record already locked by this session" or
  // "Record locked by another user".
  static std::unique_ptr<RecordLock> Acquire(const QString& databaseFile, const QString& tableName,
                                             const QString& keyText);

  ~RecordLock();
  RecordLock(const RecordLock&) = delete;
  RecordLock& operator=(const RecordLock&) = delete;

  class SideFile;
  // The side file of a database, kept open while the returned object lives,
  // so that editing record after record does not open it every time.
  static std::shared_ptr<SideFile> KeepSideFile(const QString& databaseFile);

 private:
  RecordLock(std::shared_ptr<SideFile> file, qint64 offset) : file_(std::move(file)), offset_(offset) {}

  std::shared_ptr<SideFile> file_;
  qint64 offset_;
};
