#include "platform/sql/WrappedFile.h"

#include <sqlite3.h>

#include <map>
#include <mutex>
#include <string>

namespace {

// The file SQLite sees: the object before the real file, which lies after it.
struct OwnFile {
  sqlite3_file base;
  WrappedFile* wrapped;
};
constexpr int kRealAt = (sizeof(OwnFile) + 7) / 8 * 8;

sqlite3_file* RealOf(sqlite3_file* file) {
  return reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + kRealAt);
}
const sqlite3_io_methods& Real(sqlite3_file* file) { return *RealOf(file)->pMethods; }
WrappedFile* WrappedOf(sqlite3_file* file) { return reinterpret_cast<OwnFile*>(file)->wrapped; }

int Close(sqlite3_file* file) {
  delete std::exchange(reinterpret_cast<OwnFile*>(file)->wrapped, nullptr);
  return Real(file).xClose(RealOf(file));
}
int Read(sqlite3_file* file, void* data, int amount, sqlite3_int64 at) {
  if (WrappedFile* wrapped = WrappedOf(file)) return wrapped->Read(data, amount, at);
  return Real(file).xRead(RealOf(file), data, amount, at);
}
int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 at) {
  if (WrappedFile* wrapped = WrappedOf(file)) return wrapped->Write(data, amount, at);
  return Real(file).xWrite(RealOf(file), data, amount, at);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
  if (WrappedFile* wrapped = WrappedOf(file)) return wrapped->Truncate(size);
  return Real(file).xTruncate(RealOf(file), size);
}
int Sync(sqlite3_file* file, int flags) { return Real(file).xSync(RealOf(file), flags); }
int FileSize(sqlite3_file* file, sqlite3_int64* size) { return Real(file).xFileSize(RealOf(file), size); }
int Lock(sqlite3_file* file, int level) { return Real(file).xLock(RealOf(file), level); }
int Unlock(sqlite3_file* file, int level) { return Real(file).xUnlock(RealOf(file), level); }
int CheckReservedLock(sqlite3_file* file, int* out) { return Real(file).xCheckReservedLock(RealOf(file), out); }
int FileControl(sqlite3_file* file, int op, void* arg) { return Real(file).xFileControl(RealOf(file), op, arg); }
int SectorSize(sqlite3_file* file) { return Real(file).xSectorSize(RealOf(file)); }
int DeviceCharacteristics(sqlite3_file* file) { return Real(file).xDeviceCharacteristics(RealOf(file)); }
int ShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
  return Real(file).xShmMap(RealOf(file), region, size, extend, out);
}
int ShmLock(sqlite3_file* file, int offset, int n, int flags) { return Real(file).xShmLock(RealOf(file), offset, n, flags); }
void ShmBarrier(sqlite3_file* file) { Real(file).xShmBarrier(RealOf(file)); }
int ShmUnmap(sqlite3_file* file, int remove) { return Real(file).xShmUnmap(RealOf(file), remove); }

const sqlite3_io_methods kMethods = {2,           Close,      Read,     Write,  Truncate,  Sync,
                                     FileSize,    Lock,       Unlock,   CheckReservedLock, FileControl,
                                     SectorSize,  DeviceCharacteristics, ShmMap, ShmLock, ShmBarrier,
                                     ShmUnmap,    nullptr,    nullptr};

// A registered VFS and what makes its main files.
struct Registered {
  sqlite3_vfs vfs;
  sqlite3_vfs* base;
  WrappedFile::Make make;
};
Registered& RegisteredOf(sqlite3_vfs* vfs) { return *reinterpret_cast<Registered*>(vfs); }
sqlite3_vfs* Base(sqlite3_vfs* vfs) { return RegisteredOf(vfs).base; }

int Open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  sqlite3_file* real = RealOf(file);
  const int opened = Base(vfs)->xOpen(Base(vfs), name, real, flags, outFlags);
  if (opened != SQLITE_OK || !real->pMethods) {
    file->pMethods = nullptr;
    return opened;
  }
  reinterpret_cast<OwnFile*>(file)->wrapped = (flags & SQLITE_OPEN_MAIN_DB) ? RegisteredOf(vfs).make(real) : nullptr;
  file->pMethods = &kMethods;
  return SQLITE_OK;
}

sqlite3_vfs Over(sqlite3_vfs* base, const char* name) {
  sqlite3_vfs vfs = *base;
  vfs.iVersion = qMin(base->iVersion, 2);
  vfs.szOsFile = kRealAt + base->szOsFile;
  vfs.zName = name;
  vfs.pNext = nullptr;
  vfs.pAppData = nullptr;
  vfs.xOpen = Open;
  vfs.xDelete = [](sqlite3_vfs* own, const char* file, int sync) { return Base(own)->xDelete(Base(own), file, sync); };
  vfs.xAccess = [](sqlite3_vfs* own, const char* file, int flags, int* out) {
    return Base(own)->xAccess(Base(own), file, flags, out);
  };
  vfs.xFullPathname = [](sqlite3_vfs* own, const char* file, int size, char* out) {
    return Base(own)->xFullPathname(Base(own), file, size, out);
  };
  vfs.xDlOpen = [](sqlite3_vfs* own, const char* file) { return Base(own)->xDlOpen(Base(own), file); };
  vfs.xDlError = [](sqlite3_vfs* own, int size, char* out) { Base(own)->xDlError(Base(own), size, out); };
  vfs.xDlSym = [](sqlite3_vfs* own, void* handle, const char* symbol) { return Base(own)->xDlSym(Base(own), handle, symbol); };
  vfs.xDlClose = [](sqlite3_vfs* own, void* handle) { Base(own)->xDlClose(Base(own), handle); };
  vfs.xRandomness = [](sqlite3_vfs* own, int size, char* out) { return Base(own)->xRandomness(Base(own), size, out); };
  vfs.xSleep = [](sqlite3_vfs* own, int micro) { return Base(own)->xSleep(Base(own), micro); };
  vfs.xCurrentTime = [](sqlite3_vfs* own, double* out) { return Base(own)->xCurrentTime(Base(own), out); };
  vfs.xGetLastError = [](sqlite3_vfs* own, int size, char* out) { return Base(own)->xGetLastError(Base(own), size, out); };
  vfs.xCurrentTimeInt64 = [](sqlite3_vfs* own, sqlite3_int64* out) {
    return Base(own)->xCurrentTimeInt64(Base(own), out);
  };
  vfs.xSetSystemCall = nullptr;
  vfs.xGetSystemCall = nullptr;
  vfs.xNextSystemCall = nullptr;
  return vfs;
}

}  // namespace

int WrappedFile::Read(void* data, int amount, qint64 at) { return real_->pMethods->xRead(real_, data, amount, at); }

int WrappedFile::Write(const void* data, int amount, qint64 at) {
  return real_->pMethods->xWrite(real_, data, amount, at);
}

int WrappedFile::Truncate(qint64 size) { return real_->pMethods->xTruncate(real_, size); }

const char* WrappedFile::Vfs(const char* name, Make make) {
  static std::mutex guard;
  // Left registered to the end: SQLite keeps them.
  static auto* registered = new std::map<std::string, Registered*>;
  const std::lock_guard lock(guard);
  Registered*& entry = (*registered)[name];
  if (!entry) {
    sqlite3_vfs* base = sqlite3_vfs_find(nullptr);
    entry = new Registered{Over(base, name), base, make};
    sqlite3_vfs_register(&entry->vfs, 0);
  }
  return entry->vfs.zName;
}

WrappedFile* WrappedFile::Of(sqlite3* db) {
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
      file->pMethods != &kMethods)
    return nullptr;
  return WrappedOf(file);
}
