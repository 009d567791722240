#pragma once

#include <QByteArray>
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
  class SideFile;
  // The locks of one table's records in a database, its side file kept open
  // while the object lives, so that editing record after record does not
  // open it every time.
  class TableLocks {
   public:
    TableLocks(const QString& databaseFile, const QString& tableName);
    // Raises EDatabaseError "Record already locked by this session" or
    // "Record locked by another user".
    std::unique_ptr<RecordLock> Acquire(const QString& keyText) const;

   private:
    std::shared_ptr<SideFile> file_;
    QByteArray table_;  // as the offset of a record's lock is made of it
  };

  ~RecordLock();
  RecordLock(const RecordLock&) = delete;
  RecordLock& operator=(const RecordLock&) = delete;

 private:
  RecordLock(std::shared_ptr<SideFile> file, qint64 offset) : file_(std::move(file)), offset_(offset) {}

  std::shared_ptr<SideFile> file_;
  qint64 offset_;
};
