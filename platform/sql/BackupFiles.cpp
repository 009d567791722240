#include "platform/sql/BackupFiles.h"

#include "platform/sql/ProcessIdentity.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 kHeaderSize = 100;
// The header's application number of the backups this system writes.
constexpr quint32 kBackupMark = 0x5A454D42;
constexpr int kApplicationIdAt = 68;
// Where a backup keeps the checksum of its content: the header's user
// version, which the system leaves alone in its databases.
constexpr int kChecksumAt = 60;
constexpr qint64 kChecksumBlock = 1 << 20;
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

// The checksum of a file's content: every byte but the checksum's own four.
std::optional<quint32> ContentChecksum(const QString& file) {
  QFile data(file);
  if (!data.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray header = data.read(kHeaderSize);
  if (header.size() < kHeaderSize) return std::nullopt;
  header.replace(kChecksumAt, sizeof(quint32), QByteArray(sizeof(quint32), '\0'));
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(header);
  while (!data.atEnd()) {
    const QByteArray block = data.read(kChecksumBlock);
    if (block.isEmpty()) return std::nullopt;
    hash.addData(block);
  }
  return qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(hash.result().constData()));
}

std::error_code WriteChecksum(const QString& file) {
  const std::optional<quint32> checksum = ContentChecksum(file);
  QFile data(file);
  if (!checksum || !data.open(QIODevice::ReadWrite) || !data.seek(kChecksumAt))
    return std::make_error_code(std::errc::io_error);
  uchar written[sizeof(quint32)];
  qToBigEndian(*checksum, written);
  if (data.write(reinterpret_cast<const char*>(written), sizeof written) != sizeof written || !data.flush())
    return std::make_error_code(std::errc::io_error);
  return {};
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
  if (header.size() != kHeaderSize || HeaderNumber(header, kApplicationIdAt) != kBackupMark) return false;
  const std::optional<quint32> checksum = ContentChecksum(file);
  return checksum && *checksum == HeaderNumber(header, kChecksumAt);
}

void MarkAsBackup(Connection& backup, bool mark) {
  backup.Execute(QStringLiteral("PRAGMA application_id = %1").arg(mark ? qint64(kBackupMark) : 0));
  // A restored database carries the backup's checksum, which no longer fits it.
  if (!mark) backup.Execute(QStringLiteral("PRAGMA user_version = 0"));
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
  std::error_code error = WriteChecksum(partial_);
  if (!error) error = SyncToDisk(partial_);
  if (!error) std::filesystem::rename(QFile::encodeName(partial_).toStdString(), QFile::encodeName(file_).toStdString(), error);
  completed_ = !error;
  return error;
}
