#include "platform/TextFile.h"

#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/data/LockFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* text, const QString& path, int error) {
  throw Exception(QString::fromLatin1(text).arg(path, qt_error_string(error)));
}

[[noreturn]] void failCreating(const QString& path, int error) { fail("Cannot create file \"%1\". %2", path, error); }
[[noreturn]] void failWriting(const QString& path, int error) { fail("Cannot write file \"%1\". %2", path, error); }

// A link keeps pointing at the file it named.
QString replacedFile(const QString& path) {
  const QFileInfo info(path);
  return info.isSymLink() ? info.symLinkTarget() : path;
}

// Best effort: a file system that cannot sync folders still has the rename.
void syncFolder(const QString& file) {
  const int folder = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return;
  static_cast<void>(::fsync(folder));
  ::close(folder);
}

// The new content of a file, in a file of its own beside it until it is
// complete on disk; removed unless it took the file's place.
class Replacement {
 public:
  // ownerOnly: only the owner may read or write it, whatever the old file allowed.
  explicit Replacement(const QString& target, bool ownerOnly = false) : target_(target) {
    for (int attempt = 0; descriptor_ < 0; ++attempt) {
      name_ = QFile::encodeName(target_) + '.' +
              QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
      descriptor_ = ::open(name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (descriptor_ < 0 && (errno != EEXIST || attempt == 100)) failCreating(target_, errno);
    }
    struct stat old {};
    if (ownerOnly) {
      if (::fchmod(descriptor_, 0600) != 0) failCreating(target_, errno);
    } else if (::stat(QFile::encodeName(target_).constData(), &old) == 0 &&
               ::fchmod(descriptor_, old.st_mode & 07777) != 0) {
      failCreating(target_, errno);
    }
  }
  ~Replacement() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (!placed_) ::unlink(name_.constData());
  }
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  void Write(const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
      const ssize_t written =
          ::write(descriptor_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) failWriting(target_, written < 0 ? errno : ENOSPC);
      done += written;
    }
  }

  void Place() {
    if (::fsync(descriptor_) != 0) failWriting(target_, errno);
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) failWriting(target_, errno);
    if (::rename(name_.constData(), QFile::encodeName(target_).constData()) != 0) failWriting(target_, errno);
    placed_ = true;
    syncFolder(target_);
  }

 private:
  QString target_;
  QByteArray name_;
  int descriptor_ = -1;
  bool placed_ = false;
};

}  // namespace

namespace TextFile {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
  return bytes;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  Replacement replacement(replacedFile(path));
  replacement.Write(bytes);
  replacement.Place();
}

void WriteOwnerOnly(const QString& path, const QString& text) {
  Replacement replacement(replacedFile(path), true);
  replacement.Write(Cp1252::encode(text));
  replacement.Place();
}

QString Read(const QString& path) { return Cp1252::decode(ReadBytes(path)); }

void Write(const QString& path, const QString& text) { WriteBytes(path, Cp1252::encode(text)); }

void Update(const QString& path, const std::function<QByteArray(const QByteArray& bytes)>& change) {
  const QString file = replacedFile(path);
  const auto lock = LockFile::Acquire(file + QStringLiteral("-lock"));
  WriteBytes(file, change(QFileInfo::exists(file) ? ReadBytes(file) : QByteArray()));
}

}  // namespace TextFile
