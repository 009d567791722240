#include "platform/sql/BackupFiles.h"

#include "platform/sql/BackupChecksum.h"
#include "platform/sql/ProcessIdentity.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

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
// The header's application number of the backups this system writes, which
// tells the checksum they carry: the page checksum, or, written by earlier
// versions, the SHA-256 one or none (a checksum of 0).
constexpr quint32 kBackupMark = 0x5A454D43;
constexpr quint32 kSha256BackupMark = 0x5A454D42;
constexpr int kApplicationIdAt = 68;
// The file format's write and read versions: 1, a database read and written
// without a WAL, where the copy left the WAL's 2 of the database copied.
constexpr int kFormatVersionsAt = 18;
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

void SetHeaderNumber(QByteArray& header, int at, quint32 number) {
  qToBigEndian(number, reinterpret_cast<uchar*>(header.data()) + at);
}

// The page size of a file of that header and length when the length fits
// the page size and the page count of the header.
std::optional<qint64> WholePageSize(const QByteArray& header, qint64 length) {
  if (header.size() < kHeaderSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return std::nullopt;
  const int written = (uchar(header[16]) << 8) | uchar(header[17]);
  const qint64 pageSize = written == 1 ? 65536 : written;
  if (pageSize < 512 || length % pageSize != 0) return std::nullopt;
  // The header's page count holds only while its "valid for" number is the change counter.
  const quint32 pages = HeaderNumber(header, 28);
  const bool counted = HeaderNumber(header, 92) == HeaderNumber(header, 24);
  if (counted && length < qint64(pages) * pageSize) return std::nullopt;
  return pageSize;
}

// What SQLite's full check finds of a file's structure.
bool StructureIsWhole(const QString& file) {
  try {
    const SqlRows check = OpenBackupFile(file, FileAccess::Read)->QueryRows(QStringLiteral("PRAGMA integrity_check"));
    return check.rows.size() == 1 && check.rows[0].value(0).toString() == u"ok";
  } catch (const EDatabaseError&) {
    return false;
  }
}

// Marks a copied database as this system's backup, with the checksum of
// what it holds then.
std::error_code Seal(const QString& file) {
  const std::error_code failed = std::make_error_code(std::errc::io_error);
  QFile data(file);
  if (!data.open(QIODevice::ReadWrite)) return failed;
  QByteArray header = data.read(kHeaderSize);
  const std::optional<qint64> pageSize = WholePageSize(header, data.size());
  if (!pageSize) return failed;
  header[kFormatVersionsAt] = header[kFormatVersionsAt + 1] = 1;
  SetHeaderNumber(header, kApplicationIdAt, kBackupMark);
  if (!data.seek(0) || data.write(header) != kHeaderSize || !data.flush()) return failed;
  const std::optional<quint32> checksum = FilePageChecksum(file, *pageSize);
  if (!checksum) return failed;
  SetHeaderNumber(header, PageChecksum::kAt, *checksum);
  if (!data.seek(0) || data.write(header) != kHeaderSize || !data.flush()) return failed;
  return {};
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

BackupCheck CheckBackup(const QString& file) {
  QFile data(file);
  if (!data.open(QIODevice::ReadOnly)) return BackupCheck::Malformed;
  const QByteArray header = data.read(kHeaderSize);
  const std::optional<qint64> pageSize = WholePageSize(header, data.size());
  data.close();
  if (!pageSize) return BackupCheck::Malformed;
  const quint32 mark = HeaderNumber(header, kApplicationIdAt);
  const quint32 carried = HeaderNumber(header, PageChecksum::kAt);
  if (mark == kSha256BackupMark && carried == 0)
    return StructureIsWhole(file) ? BackupCheck::Whole : BackupCheck::Malformed;
  std::optional<quint32> checksum;
  if (mark == kBackupMark)
    checksum = FilePageChecksum(file, *pageSize);
  else if (mark == kSha256BackupMark)
    checksum = FileSha256Checksum(file);
  else
    return BackupCheck::Malformed;
  return checksum == carried ? BackupCheck::Whole : BackupCheck::Damaged;
}

void TakeBackupMarkOff(Connection& restored) {
  restored.Execute(QStringLiteral("PRAGMA application_id = 0"));
  // The backup's checksum no longer fits the database.
  restored.Execute(QStringLiteral("PRAGMA user_version = 0"));
}

bool BackupFileTaken(const QString& file) {
  const QFileInfo info(file);
  return info.exists() ||
         !QDir(info.absolutePath()).entryList({info.fileName() + kPartialInfix + u'*'}, QDir::Files | QDir::Hidden).isEmpty();
}

bool ReserveBackupName(const QString& file) {
  const QFileInfo info(file);
  const QString mine = PartialName(info.absoluteFilePath(), ProcessIdentity::Current(), kReservationSuffix);
  if (QFile::exists(file)) return false;
  QFile mark(mine);
  // A folder this process cannot write in is the server's to judge.
  if (!mark.open(QIODevice::WriteOnly)) return !BackupFileTaken(file);
  mark.close();
  // Each process puts its mark before it looks: of two choosing at once, the
  // later to look sees the other's mark and gives way. The file is looked
  // for again, not taken from the first look: another process may have
  // held the name, written the backup and let the name go in between.
  const QStringList holders =
      QDir(info.absolutePath()).entryList({info.fileName() + kPartialInfix + u'*'}, QDir::Files | QDir::Hidden);
  if (QFile::exists(file) || holders != QStringList{QFileInfo(mine).fileName()}) {
    QFile::remove(mine);
    return false;
  }
  return true;
}

void ReleaseBackupName(const QString& file) {
  QFile::remove(PartialName(QFileInfo(file).absoluteFilePath(), ProcessIdentity::Current(), kReservationSuffix));
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
  std::error_code error = Seal(partial_);
  if (!error) error = SyncToDisk(partial_);
  if (!error) std::filesystem::rename(QFile::encodeName(partial_).toStdString(), QFile::encodeName(file_).toStdString(), error);
  completed_ = !error;
  return error;
}
