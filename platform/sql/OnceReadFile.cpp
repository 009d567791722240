#include "platform/sql/OnceReadFile.h"

#include <sqlite3.h>
#include <xxhash.h>

#include <cstring>
#include <mutex>

namespace {

constexpr qint64 kBlock = 1 << 20;  // a whole number of pages of any size

// The file SQLite sees: the reader before the real file, which lies after it.
struct OwnFile {
  sqlite3_file base;
  OnceReadFile* reader;
};
constexpr int kRealAt = (sizeof(OwnFile) + 7) / 8 * 8;

sqlite3_file* RealOf(sqlite3_file* file) { return reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + kRealAt); }
OnceReadFile* ReaderOf(sqlite3_file* file) { return reinterpret_cast<OwnFile*>(file)->reader; }
sqlite3_vfs* BaseOf(sqlite3_vfs* vfs) { return static_cast<sqlite3_vfs*>(vfs->pAppData); }

int Close(sqlite3_file* file) {
  delete ReaderOf(file);
  reinterpret_cast<OwnFile*>(file)->reader = nullptr;
  return RealOf(file)->pMethods->xClose(RealOf(file));
}
int Read(sqlite3_file* file, void* data, int amount, sqlite3_int64 at) {
  if (OnceReadFile* reader = ReaderOf(file)) return reader->Read(data, amount, at);
  return RealOf(file)->pMethods->xRead(RealOf(file), data, amount, at);
}
int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 at) {
  if (ReaderOf(file)) return SQLITE_READONLY;
  return RealOf(file)->pMethods->xWrite(RealOf(file), data, amount, at);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
  if (ReaderOf(file)) return SQLITE_READONLY;
  return RealOf(file)->pMethods->xTruncate(RealOf(file), size);
}
int Sync(sqlite3_file* file, int flags) { return RealOf(file)->pMethods->xSync(RealOf(file), flags); }
int FileSize(sqlite3_file* file, sqlite3_int64* size) { return RealOf(file)->pMethods->xFileSize(RealOf(file), size); }
int Lock(sqlite3_file* file, int level) { return RealOf(file)->pMethods->xLock(RealOf(file), level); }
int Unlock(sqlite3_file* file, int level) { return RealOf(file)->pMethods->xUnlock(RealOf(file), level); }
int CheckReservedLock(sqlite3_file* file, int* out) { return RealOf(file)->pMethods->xCheckReservedLock(RealOf(file), out); }
int FileControl(sqlite3_file* file, int op, void* arg) { return RealOf(file)->pMethods->xFileControl(RealOf(file), op, arg); }
int SectorSize(sqlite3_file* file) { return RealOf(file)->pMethods->xSectorSize(RealOf(file)); }
int DeviceCharacteristics(sqlite3_file* file) { return RealOf(file)->pMethods->xDeviceCharacteristics(RealOf(file)); }
int ShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
  return RealOf(file)->pMethods->xShmMap(RealOf(file), region, size, extend, out);
}
int ShmLock(sqlite3_file* file, int offset, int n, int flags) { return RealOf(file)->pMethods->xShmLock(RealOf(file), offset, n, flags); }
void ShmBarrier(sqlite3_file* file) { RealOf(file)->pMethods->xShmBarrier(RealOf(file)); }
int ShmUnmap(sqlite3_file* file, int remove) { return RealOf(file)->pMethods->xShmUnmap(RealOf(file), remove); }

// No memory map: every byte SQLite gets passes through the reader.
const sqlite3_io_methods kMethods = {2,         Close,       Read,     Write,       Truncate,
                                     Sync,      FileSize,    Lock,     Unlock,      CheckReservedLock,
                                     FileControl, SectorSize, DeviceCharacteristics, ShmMap, ShmLock,
                                     ShmBarrier, ShmUnmap,   nullptr,  nullptr};

int Open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  sqlite3_file* real = RealOf(file);
  const int opened = BaseOf(vfs)->xOpen(BaseOf(vfs), name, real, flags, outFlags);
  if (opened != SQLITE_OK || !real->pMethods) {
    file->pMethods = nullptr;
    return opened;
  }
  reinterpret_cast<OwnFile*>(file)->reader = (flags & SQLITE_OPEN_MAIN_DB) ? new OnceReadFile(real) : nullptr;
  file->pMethods = &kMethods;
  return SQLITE_OK;
}

sqlite3_vfs* Registered() {
  static sqlite3_vfs vfs;
  static std::once_flag once;
  std::call_once(once, [] {
    sqlite3_vfs* base = sqlite3_vfs_find(nullptr);
    vfs = *base;
    vfs.iVersion = qMin(base->iVersion, 2);
    vfs.szOsFile = kRealAt + base->szOsFile;
    vfs.zName = "zem-lectura-unica";
    vfs.pNext = nullptr;
    vfs.pAppData = base;
    vfs.xOpen = Open;
    vfs.xDelete = [](sqlite3_vfs* own, const char* name, int sync) { return BaseOf(own)->xDelete(BaseOf(own), name, sync); };
    vfs.xAccess = [](sqlite3_vfs* own, const char* name, int flags, int* out) {
      return BaseOf(own)->xAccess(BaseOf(own), name, flags, out);
    };
    vfs.xFullPathname = [](sqlite3_vfs* own, const char* name, int size, char* out) {
      return BaseOf(own)->xFullPathname(BaseOf(own), name, size, out);
    };
    vfs.xDlOpen = [](sqlite3_vfs* own, const char* name) { return BaseOf(own)->xDlOpen(BaseOf(own), name); };
    vfs.xDlError = [](sqlite3_vfs* own, int size, char* out) { BaseOf(own)->xDlError(BaseOf(own), size, out); };
    vfs.xDlSym = [](sqlite3_vfs* own, void* handle, const char* symbol) {
      return BaseOf(own)->xDlSym(BaseOf(own), handle, symbol);
    };
    vfs.xDlClose = [](sqlite3_vfs* own, void* handle) { BaseOf(own)->xDlClose(BaseOf(own), handle); };
    vfs.xRandomness = [](sqlite3_vfs* own, int size, char* out) { return BaseOf(own)->xRandomness(BaseOf(own), size, out); };
    vfs.xSleep = [](sqlite3_vfs* own, int micro) { return BaseOf(own)->xSleep(BaseOf(own), micro); };
    vfs.xCurrentTime = [](sqlite3_vfs* own, double* out) { return BaseOf(own)->xCurrentTime(BaseOf(own), out); };
    vfs.xGetLastError = [](sqlite3_vfs* own, int size, char* out) {
      return BaseOf(own)->xGetLastError(BaseOf(own), size, out);
    };
    vfs.xCurrentTimeInt64 = [](sqlite3_vfs* own, sqlite3_int64* out) {
      return BaseOf(own)->xCurrentTimeInt64(BaseOf(own), out);
    };
    vfs.xSetSystemCall = nullptr;
    vfs.xGetSystemCall = nullptr;
    vfs.xNextSystemCall = nullptr;
    sqlite3_vfs_register(&vfs, 0);
  });
  return &vfs;
}

std::uint64_t BlockHash(const QByteArray& block) { return XXH3_64bits(block.constData(), size_t(block.size())); }

}  // namespace

const char* OnceReadFile::VfsName() { return Registered()->zName; }

OnceReadFile* OnceReadFile::Of(sqlite3* db) {
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
      file->pMethods != &kMethods)
    return nullptr;
  return ReaderOf(file);
}

qint64 OnceReadFile::Size() {
  if (!size_) {
    sqlite3_int64 size = 0;
    size_ = file_->pMethods->xFileSize(file_, &size) == SQLITE_OK ? size : 0;
  }
  return *size_;
}

qint64 OnceReadFile::blockCount() { return (Size() + kBlock - 1) / kBlock; }

const QByteArray* OnceReadFile::FirstBlock() {
  if (Size() == 0) return nullptr;
  return block(0);
}

void OnceReadFile::DigestWith(Digest digest) {
  digest_ = std::move(digest);
  if (!blockHashes_.empty()) digest_(0, first_.constData(), first_.size());
}

bool OnceReadFile::ReadToEnd() {
  while (qint64(blockHashes_.size()) < blockCount())
    if (!loadNext()) return false;
  return true;
}

bool OnceReadFile::loadNext() {
  const qint64 index = qint64(blockHashes_.size());
  const qint64 at = index * kBlock;
  QByteArray& into = index == 0 ? first_ : current_;
  into.resize(qMin(kBlock, Size() - at));
  if (file_->pMethods->xRead(file_, into.data(), int(into.size()), at) != SQLITE_OK) return false;
  blockHashes_.push_back(BlockHash(into));
  if (index != 0) currentIndex_ = index;
  if (digest_) digest_(at, into.constData(), into.size());
  return true;
}

const QByteArray* OnceReadFile::block(qint64 index) {
  while (qint64(blockHashes_.size()) <= index)
    if (!loadNext()) return nullptr;
  if (index == 0) return &first_;
  if (index == currentIndex_) return &current_;
  // Gone back: read again, and taken only as it was.
  const qint64 at = index * kBlock;
  again_.resize(qMin(kBlock, Size() - at));
  if (file_->pMethods->xRead(file_, again_.data(), int(again_.size()), at) != SQLITE_OK ||
      BlockHash(again_) != blockHashes_[size_t(index)])
    return nullptr;
  return &again_;
}

int OnceReadFile::Read(void* data, int amount, qint64 at) {
  auto* out = static_cast<char*>(data);
  const qint64 end = qMin(at + amount, Size());
  for (qint64 from = at; from < end;) {
    const qint64 index = from / kBlock;
    const QByteArray* read = block(index);
    if (!read) return SQLITE_IOERR_READ;
    const qint64 inBlock = from - index * kBlock;
    const qint64 length = qMin(end - from, qint64(read->size()) - inBlock);
    std::memcpy(out + (from - at), read->constData() + inBlock, size_t(length));
    from += length;
  }
  if (end >= at + amount) return SQLITE_OK;
  const qint64 filled = qMax<qint64>(0, end - at);
  std::memset(out + filled, 0, size_t(amount - filled));
  return SQLITE_IOERR_SHORT_READ;
}
