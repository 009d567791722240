#include "platform/sql/HashedWriteFile.h"

#include <sqlite3.h>

namespace {

constexpr int kSmallestPage = 512;

}  // namespace

const char* HashedWriteFile::VfsName() {
  return Vfs("zem-escritura-sumada", [](sqlite3_file* real) -> WrappedFile* { return new HashedWriteFile(real); });
}

HashedWriteFile* HashedWriteFile::Of(sqlite3* db) { return dynamic_cast<HashedWriteFile*>(WrappedFile::Of(db)); }

int HashedWriteFile::Write(const void* data, int amount, qint64 at) {
  const int written = WrappedFile::Write(data, amount, at);
  const bool wholePage = amount >= kSmallestPage && (amount & (amount - 1)) == 0 && at % amount == 0;
  if (written == SQLITE_OK && wholePage) {
    pageSize_ = amount;
    checksum_.Take(quint32(at / amount + 1), static_cast<const char*>(data), amount);
  } else if (pageSize_ > 0) {
    for (qint64 page = at / pageSize_; page <= (at + amount - 1) / pageSize_; ++page) checksum_.Forget(quint32(page + 1));
  } else {
    checksum_.KeepPages(0);
  }
  return written;
}

int HashedWriteFile::Truncate(qint64 size) {
  const int truncated = WrappedFile::Truncate(size);
  if (pageSize_ > 0 && size % pageSize_ == 0)
    checksum_.KeepPages(quint32(size / pageSize_));
  else
    checksum_.KeepPages(0);
  return truncated;
}
