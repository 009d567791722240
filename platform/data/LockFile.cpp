#include "platform/data/LockFile.h"

#include "platform/Exceptions.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct flock wholeFile(short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;
  return lock;
}

int openLockFile(const QString& path) {
  const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) throw Exception(QStringLiteral("Cannot create lock file \"%1\"").arg(path));
  return descriptor;
}

}  // namespace

std::unique_ptr<LockFile> LockFile::Acquire(const QString& path) {
  const int descriptor = openLockFile(path);
  struct flock lock = wholeFile(F_WRLCK);
  int result;
  do result = ::fcntl(descriptor, F_OFD_SETLKW, &lock);
  while (result != 0 && errno == EINTR);
  if (result != 0) {
    ::close(descriptor);
    throw Exception(QStringLiteral("Cannot create lock file \"%1\"").arg(path));
  }
  return std::unique_ptr<LockFile>(new LockFile(descriptor, path));
}

std::unique_ptr<LockFile> LockFile::TryAcquire(const QString& path, const QByteArray& content) {
  const int descriptor = openLockFile(path);
  struct flock lock = wholeFile(F_WRLCK);
  if (::fcntl(descriptor, F_OFD_SETLK, &lock) != 0) {
    ::close(descriptor);
    return nullptr;
  }
  if (::ftruncate(descriptor, 0) == 0) {
    const ssize_t written = ::pwrite(descriptor, content.constData(), static_cast<size_t>(content.size()), 0);
    static_cast<void>(written);  // the content only informs; the lock is what counts
  }
  return std::unique_ptr<LockFile>(new LockFile(descriptor, path));
}

bool LockFile::IsHeld(const QString& path) {
  const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  struct flock probe = wholeFile(F_WRLCK);
  const bool held = ::fcntl(descriptor, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
  ::close(descriptor);
  return held;
}

LockFile::~LockFile() { ::close(descriptor_); }
