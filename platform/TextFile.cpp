#include "platform/TextFile.h"

#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/FolderSync.h"
#include "platform/data/LockFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

#include <memory>
#include <vector>

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

// The new content of a file, in a file of its own beside it until it is
// complete on disk; removed unless it took the file's place.
class Replacement {
 public:
  // ownerOnly: only the owner may read or write it, whatever the old file allowed.
  explicit Replacement(const QString& target, bool ownerOnly = false) : target_(target) {
    struct stat old {};
    const bool exists = ::stat(QFile::encodeName(target_).constData(), &old) == 0;
    // A read-only file keeps its content, as on the system the files come from.
    if (exists && (old.st_mode & 0222) == 0) failWriting(target_, EACCES);
    for (int attempt = 0; descriptor_ < 0; ++attempt) {
      name_ = QFile::encodeName(target_) + '.' +
              QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
      descriptor_ = ::open(name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (descriptor_ < 0 && (errno != EEXIST || attempt == 100)) failCreating(target_, errno);
    }
    if (ownerOnly) {
      if (::fchmod(descriptor_, 0600) != 0) failCreating(target_, errno);
    } else if (exists && ::fchmod(descriptor_, old.st_mode & 07777) != 0) {
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

  // The content complete on disk, ready to take the file's place.
  void Finish() {
    if (::fsync(descriptor_) != 0) failWriting(target_, errno);
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) failWriting(target_, errno);
  }

  void Place() {
    if (descriptor_ >= 0) Finish();
    if (::rename(name_.constData(), QFile::encodeName(target_).constData()) != 0) failWriting(target_, errno);
    placed_ = true;
    // Best effort: a file system that cannot sync folders still has the rename.
    static_cast<void>(SyncFolderOf(target_));
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
  UpdateTogether({path}, [&change](const QList<QByteArray>& bytes) { return QList<QByteArray>{change(bytes.first())}; });
}

void UpdateTogether(const QStringList& paths,
                    const std::function<QList<QByteArray>(const QList<QByteArray>& bytes)>& change) {
  QStringList files;
  for (const QString& path : paths) files.append(replacedFile(path));
  // Taken in one order by every program, so that two never wait for each other.
  QStringList order = files;
  order.sort();
  order.removeDuplicates();
  std::vector<std::unique_ptr<LockFile>> locks;
  for (const QString& file : order) locks.push_back(LockFile::Acquire(file + QStringLiteral("-lock")));
  QList<QByteArray> old;
  for (const QString& file : files) old.append(QFileInfo::exists(file) ? ReadBytes(file) : QByteArray());
  const QList<QByteArray> changed = change(old);
  std::vector<std::unique_ptr<Replacement>> replacements;
  for (qsizetype n = 0; n < files.size(); ++n) {
    replacements.push_back(std::make_unique<Replacement>(files.at(n)));
    replacements.back()->Write(changed.value(n));
    replacements.back()->Finish();
  }
  for (const auto& replacement : replacements) replacement->Place();
}

}  // namespace TextFile
