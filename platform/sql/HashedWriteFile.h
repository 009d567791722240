#pragma once

#include "platform/sql/BackupChecksum.h"
#include "platform/sql/WrappedFile.h"

// A file SQLite writes through the VFS named here: the page checksum takes
// each whole page as it is written; a page written in part is no longer
// known to it.
class HashedWriteFile : public WrappedFile {
 public:
  static const char* VfsName();
  // The file of the connection's main database, where it was opened through
  // that VFS.
  static HashedWriteFile* Of(sqlite3* db);

  using WrappedFile::WrappedFile;
  int Write(const void* data, int amount, qint64 at) override;
  int Truncate(qint64 size) override;

  const PageChecksum& Checksum() const { return checksum_; }

 private:
  PageChecksum checksum_;
  qint64 pageSize_ = 0;
};
