#include "platform/sql/BackupFiles.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 kHeaderSize = 100;

QStringList SideFiles(const QString& file) {
  return {file + QStringLiteral("-journal"), file + QStringLiteral("-wal"), file + QStringLiteral("-shm")};
}

quint32 HeaderNumber(const QByteArray& header, int at) {
  return qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(header.constData()) + at);
}

// Whether the file's length fits the page size and page count of its header.
bool HasEveryPage(const QString& file) {
  QFile data(file);
  if (!data.open(QIODevice::ReadOnly)) return false;
  const QByteArray header = data.read(kHeaderSize);
  if (header.size() < kHeaderSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return false;
  const int written = (uchar(header[16]) << 8) | uchar(header[17]);
  const qint64 pageSize = written == 1 ? 65536 : written;
  if (pageSize < 512 || data.size() % pageSize != 0) return false;
  // The header's page count holds only while its "valid for" number is the change counter.
  const quint32 pages = HeaderNumber(header, 28);
  const bool counted = HeaderNumber(header, 92) == HeaderNumber(header, 24);
  return !counted || data.size() >= qint64(pages) * pageSize;
}

std::error_code SyncToDisk(const QString& file) {
  const int descriptor = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0 || ::fsync(descriptor) != 0) {
    const std::error_code error(errno, std::generic_category());
    if (descriptor >= 0) ::close(descriptor);
    return error;
  }
  ::close(descriptor);
  return {};
}

}  // namespace

bool IsWholeDatabase(const QString& file) {
  if (!HasEveryPage(file)) return false;
  try {
    const SqlRows check = OpenBackupFile(file, FileAccess::Read)->QueryRows(QStringLiteral("PRAGMA quick_check"));
    return check.rows.size() == 1 && check.rows[0].value(0).toString() == u"ok";
  } catch (const EDatabaseError&) {
    return false;
  }
}

BackupReading::BackupReading(QString file) {
  for (const QString& side : {file + QStringLiteral("-wal"), file + QStringLiteral("-shm")})
    if (!QFileInfo::exists(side)) made_ << side;
}

BackupReading::~BackupReading() {
  for (const QString& side : made_) QFile::remove(side);
}

BackupWriting::BackupWriting(QString file)
    : file_(std::move(file)),
      partial_(file_ + u'.' + QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".tmp")) {
  RemovePartial();  // what a killed backup of this process's number left
}

BackupWriting::~BackupWriting() {
  if (!completed_) RemovePartial();
}

void BackupWriting::RemovePartial() const {
  QFile::remove(partial_);
  for (const QString& side : SideFiles(partial_)) QFile::remove(side);
}

std::error_code BackupWriting::Complete() {
  std::error_code error = SyncToDisk(partial_);
  if (!error) std::filesystem::rename(QFile::encodeName(partial_).toStdString(), QFile::encodeName(file_).toStdString(), error);
  completed_ = !error;
  return error;
}
