#include "platform/sql/SnapshotCopy.h"

#include "platform/sql/BackupChecksum.h"
#include "platform/sql/BackupHeader.h"
#include "platform/sqlite/Connection.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <sqlite3.h>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

// With blocks of 2 MiB or more, on a busy disk, the kernel held each write
// back to the disk's pace; with 1 MiB, the writes went at memory's.
constexpr qint64 kBlock = 1 << 20;

std::error_code LastSystemError() { return {errno ? errno : EIO, std::generic_category()}; }

// A read of the connection's database, its state kept until the end.
class ReadOfDatabase {
 public:
  explicit ReadOfDatabase(sqlite3* db) : db_(db) { open_ = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK; }
  ~ReadOfDatabase() {
    if (open_) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  }
  ReadOfDatabase(const ReadOfDatabase&) = delete;
  ReadOfDatabase& operator=(const ReadOfDatabase&) = delete;

  // The first read fixes the state read.
  std::optional<qint64> Number(const char* pragma) const {
    if (!open_) return std::nullopt;
    sqlite3_stmt* statement = nullptr;
    std::optional<qint64> number;
    if (sqlite3_prepare_v2(db_, pragma, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
      number = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return number;
  }

 private:
  sqlite3* db_;
  bool open_ = false;
};

// Whether, with a read of the file under way elsewhere, every frame of its
// WAL is in the file, copying back there what no older read keeps from it:
// then the file holds what that read reads, and no checkpoint writes into
// it while the read lasts.
bool FileHoldsEveryFrame(const char* file) {
  sqlite3* other = nullptr;
  int frames = -1;
  int copied = -1;
  if (sqlite3_open_v2(file, &other, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK &&
      sqlite3_exec(other, "PRAGMA main.schema_version", nullptr, nullptr, nullptr) == SQLITE_OK &&
      sqlite3_wal_checkpoint_v2(other, "main", SQLITE_CHECKPOINT_PASSIVE, &frames, &copied) != SQLITE_OK)
    frames = -1;
  sqlite3_close_v2(other);
  return frames >= 0 && frames == copied;
}

class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return descriptor_; }
  bool IsOpen() const { return descriptor_ >= 0; }

 private:
  int descriptor_;
};

bool ReadWhole(int descriptor, char* data, qint64 size, qint64 at) {
  for (qint64 done = 0; done < size;) {
    const ssize_t read = ::pread(descriptor, data + done, size_t(size - done), at + done);
    if (read < 0 && errno == EINTR) continue;
    if (read <= 0) {
      if (read == 0) errno = EIO;  // the file is shorter than its pages
      return false;
    }
    done += read;
  }
  return true;
}

bool WriteWhole(int descriptor, const char* data, qint64 size, qint64 at) {
  for (qint64 done = 0; done < size;) {
    const ssize_t written = ::pwrite(descriptor, data + done, size_t(size - done), at + done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

std::optional<std::error_code> CopySnapshotAsBackup(Connection& source, const QString& target) {
  const char* file = sqlite3_db_filename(source.Handle(), "main");
  const ReadOfDatabase read(source.Handle());
  const std::optional<qint64> pageSize = read.Number("PRAGMA main.page_size");
  const std::optional<qint64> pages = read.Number("PRAGMA main.page_count");
  if (!file || !pageSize || !pages || *pages <= 0 || *pageSize <= 0 || !FileHoldsEveryFrame(file)) return std::nullopt;

  const Descriptor database(::open(file, O_RDONLY | O_CLOEXEC));
  if (!database.IsOpen()) return LastSystemError();
  const Descriptor backup(::open(QFile::encodeName(target).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!backup.IsOpen()) return LastSystemError();
  const qint64 size = *pages * *pageSize;
  QByteArray block(qMax(*pageSize, kBlock / *pageSize * *pageSize), Qt::Uninitialized);
  PageChecksum checksum;
  quint32 page = 1;
  for (qint64 at = 0; at < size; at += block.size()) {
    const qint64 length = qMin<qint64>(block.size(), size - at);
    if (!ReadWhole(database.get(), block.data(), length, at)) return LastSystemError();
    if (at == 0) BackupHeader::Mark(block.data(), quint32(*pages));
    for (qint64 offset = 0; offset < length; offset += *pageSize) checksum.Take(page++, block.constData() + offset, *pageSize);
    if (!WriteWhole(backup.get(), block.constData(), length, at)) return LastSystemError();
    // Its way to the disk starts now, not at the sync that ends the backup.
    ::sync_file_range(backup.get(), at, length, SYNC_FILE_RANGE_WRITE);
  }
  const std::optional<quint32> sum = checksum.Result();
  if (!sum) return std::make_error_code(std::errc::io_error);
  char carried[sizeof(quint32)];
  qToBigEndian(*sum, carried);
  if (!WriteWhole(backup.get(), carried, sizeof(carried), BackupHeader::kChecksumAt)) return LastSystemError();
  return std::error_code();
}
