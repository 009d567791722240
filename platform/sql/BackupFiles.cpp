#include "platform/sql/BackupFiles.h"

#include "platform/sql/BackupChecksum.h"
#include "platform/sql/BackupHeader.h"
#include "platform/sql/BackupSource.h"
#include "platform/sql/DatabaseCopy.h"
#include "platform/sql/HashedWriteFile.h"
#include "platform/sql/ProcessIdentity.h"
#include "platform/sql/SnapshotCopy.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace {

// "<backup>.copia-<pid>-<start>.tmp", with its journal.
const QString kPartialInfix = QStringLiteral(".copia-");
const QString kPartialSuffix = QStringLiteral(".tmp");
// "<backup>.copia-<pid>-<start>.reserva": the name held by a process that
// chose it for a backup it is about to make.
const QString kReservationSuffix = QStringLiteral(".reserva");

QStringList SideFiles(const QString& file) {
  return {file + QStringLiteral("-journal"), file + QStringLiteral("-wal"), file + QStringLiteral("-shm")};
}

// Marks a copied database as this system's backup, with the checksum of
// what it holds then: that of its pages as written, where every one was
// taken whole, else read again.
std::error_code Seal(const QString& file, PageChecksum written) {
  const std::error_code failed = std::make_error_code(std::errc::io_error);
  QFile data(file);
  if (!data.open(QIODevice::ReadWrite)) return failed;
  QByteArray header = data.read(BackupHeader::kSize);
  const std::optional<qint64> pageSize = BackupHeader::WholePageSize(header, data.size());
  if (!pageSize || !data.seek(0)) return failed;
  const quint32 pages = quint32(data.size() / *pageSize);
  QByteArray firstPage = data.read(*pageSize);
  if (firstPage.size() != *pageSize) return failed;
  BackupHeader::Mark(firstPage.data(), pages);
  written.Take(1, firstPage.constData(), firstPage.size());
  std::optional<quint32> checksum = written.LastPage() == pages ? written.Result() : std::nullopt;
  if (!checksum) {
    if (!data.seek(0) || data.write(firstPage.left(BackupHeader::kSize)) != BackupHeader::kSize || !data.flush())
      return failed;
    checksum = FilePageChecksum(file, *pageSize);
  }
  if (!checksum) return failed;
  header = firstPage.left(BackupHeader::kSize);
  BackupHeader::SetNumber(header, BackupHeader::kChecksumAt, *checksum);
  if (!data.seek(0) || data.write(header) != BackupHeader::kSize || !data.flush()) return failed;
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

BackupCheck CheckBackup(const QString& file) { return BackupSource(file).Check(); }

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

std::error_code BackupWriting::Write(Connection& source) {
  std::optional<std::error_code> copied = CopySnapshotAsBackup(source, partial_);
  if (!copied) {
    // Page by page through SQLite, what the WAL holds for the read with them.
    PageChecksum written;
    {
      const std::shared_ptr<Connection> target = OpenBackupFile(partial_, FileAccess::Write, HashedWriteFile::VfsName());
      // A partial file is synced once whole, and removed if it never is.
      target->Execute(QStringLiteral("PRAGMA journal_mode = OFF"));
      target->Execute(QStringLiteral("PRAGMA synchronous = OFF"));
      CopyDatabase(source, *target);
      if (const HashedWriteFile* file = HashedWriteFile::Of(target->Handle())) written = file->Checksum();
    }
    copied = Seal(partial_, std::move(written));
  }
  std::error_code error = *copied;
  if (!error) error = SyncToDisk(partial_);
  if (!error) std::filesystem::rename(QFile::encodeName(partial_).toStdString(), QFile::encodeName(file_).toStdString(), error);
  completed_ = !error;
  return error;
}
