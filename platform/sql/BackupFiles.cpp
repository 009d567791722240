#include "platform/sql/BackupFiles.h"

#include "platform/sql/ProcessIdentity.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 kHeaderSize = 100;
// The header's application number of the backups this system writes.
constexpr quint32 kBackupMark = 0x5A454D42;
constexpr int kApplicationIdAt = 68;
// "<backup>.copia-<pid>-<start>.tmp", with its journal.
const QString kPartialInfix = QStringLiteral(".copia-");
const QString kPartialSuffix = QStringLiteral(".tmp");
// "<backup>.copia-<pid>-<start>.reserva": the name held by a process that
// chose it for a backup it is about to make.
const QString kReservationSuffix = QStringLiteral(".reserva");

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

QString PartialName(const QString& file, const ProcessIdentity& writer, const QString& suffix = kPartialSuffix) {
  return file + kPartialInfix + QString::number(writer.pid) + u'-' + writer.started + suffix;
}

// The partial files (and their side files) and the names held in the folder
// whose process has died.
void RemoveDeadPartials(const QString& folder) {
  const QStringList names = QDir(folder).entryList({u'*' + kPartialInfix + u'*'}, QDir::Files | QDir::Hidden);
  for (const QString& name : names) {
    const qsizetype at = name.lastIndexOf(kPartialInfix);
    QString writer = name.mid(at + kPartialInfix.size());
    for (const QString& side : {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
      if (writer.endsWith(side)) writer.chop(side.size());
    if (writer.endsWith(kPartialSuffix))
      writer.chop(kPartialSuffix.size());
    else if (writer.endsWith(kReservationSuffix))
      writer.chop(kReservationSuffix.size());
    else
      continue;
    const qsizetype dash = writer.indexOf(u'-');
    bool number = false;
    const ProcessIdentity identity{writer.left(dash).toLongLong(&number), writer.mid(dash + 1)};
    if (dash < 0 || !number || identity.IsAlive()) continue;
    QFile::remove(QDir(folder).filePath(name));
  }
}

}  // namespace

bool IsBackupOfThisSystem(const QString& file) {
  QFile data(file);
  if (!data.open(QIODevice::ReadOnly)) return false;
  const QByteArray header = data.read(kHeaderSize);
  return header.size() == kHeaderSize && HeaderNumber(header, kApplicationIdAt) == kBackupMark;
}

void MarkAsBackup(Connection& backup, bool mark) {
  backup.Execute(QStringLiteral("PRAGMA application_id = %1").arg(mark ? qint64(kBackupMark) : 0));
}

bool BackupFileTaken(const QString& file) {
  const QFileInfo info(file);
  return info.exists() ||
         !QDir(info.absolutePath()).entryList({info.fileName() + kPartialInfix + u'*'}, QDir::Files | QDir::Hidden).isEmpty();
}

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

bool ReserveBackupName(const QString& file) {
  const QFileInfo info(file);
  const QString mine = PartialName(info.absoluteFilePath(), ProcessIdentity::Current(), kReservationSuffix);
  if (info.exists()) return false;
  QFile mark(mine);
  // A folder this process cannot write in is the server's to judge.
  if (!mark.open(QIODevice::WriteOnly)) return !BackupFileTaken(file);
  mark.close();
  // Each process puts its mark before it looks: of two choosing at once, the
  // later to look sees the other's mark and gives way.
  const QStringList holders =
      QDir(info.absolutePath()).entryList({info.fileName() + kPartialInfix + u'*'}, QDir::Files | QDir::Hidden);
  if (info.exists() || holders != QStringList{QFileInfo(mine).fileName()}) {
    QFile::remove(mine);
    return false;
  }
  return true;
}

void ReleaseBackupName(const QString& file) {
  QFile::remove(PartialName(QFileInfo(file).absoluteFilePath(), ProcessIdentity::Current(), kReservationSuffix));
}

BackupReading::~BackupReading() {
  for (const QString& side : made_) QFile::remove(side);
}

BackupWriting::BackupWriting(QString file)
    : file_(std::move(file)),
      partial_(PartialName(file_, ProcessIdentity::Current())) {
  RemoveDeadPartials(QFileInfo(file_).absolutePath());
  RemovePartial();
}

BackupWriting::~BackupWriting() {
  if (!completed_) RemovePartial();
  ReleaseBackupName(file_);
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
