#include "platform/report/UnnamedFile.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

QString reason() { return QString::fromLocal8Bit(std::strerror(errno)); }

// A name of this program's own: another program writing the same target picks another.
QByteArray besideTarget(const QByteArray& target, const char* tag) {
  static std::atomic<int> made{0};
  const QFileInfo info(QFile::decodeName(target));
  return QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QString::fromLatin1(tag) +
                           QString::number(::getpid()) + u'-' + QString::number(++made));
}

}  // namespace

UnnamedFile::UnnamedFile(const QString& target) : target_(QFile::encodeName(target)) {
  const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
  descriptor_ = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
  if (descriptor_ >= 0) {
    path_ = "/proc/self/fd/" + QByteArray::number(descriptor_);
    return;
  }
  if (errno != EOPNOTSUPP && errno != EISDIR) throw Exception(reason());
  named_ = besideTarget(target_, ".tmp");
  descriptor_ = ::open(named_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (descriptor_ < 0) throw Exception(reason());
  path_ = named_;
}

UnnamedFile::~UnnamedFile() {
  if (!published_ && !named_.isEmpty()) ::unlink(named_.constData());
  if (descriptor_ >= 0) ::close(descriptor_);
}

void UnnamedFile::Publish() {
  if (::fsync(descriptor_) != 0) throw Exception(reason());
  QByteArray from = named_;
  if (from.isEmpty()) {
    // A name is needed before the rename: linkat cannot replace a file.
    from = besideTarget(target_, ".new");
    if (::linkat(AT_FDCWD, path_.constData(), AT_FDCWD, from.constData(), AT_SYMLINK_FOLLOW) != 0)
      throw Exception(reason());
  }
  if (::rename(from.constData(), target_.constData()) != 0) {
    const QString failure = reason();
    ::unlink(from.constData());
    throw Exception(failure);
  }
  published_ = true;
}
