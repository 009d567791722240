#include "platform/sql/InPlaceRestore.h"

#include "platform/FolderSync.h"
#include "platform/sql/BackupHeader.h"
#include "platform/sql/BackupSource.h"
#include "platform/sql/OnceReadFile.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "<database>-restauracion": the backup the file is being restored from.
const QString kUnderWay = QStringLiteral("-restauracion");
// The link made before the restore is sure to take place.
const QString kPrepared = QStringLiteral("-restauracion.nueva");

QByteArray Path(const QString& file) { return QFile::encodeName(file); }

// The steps of one restore, told to the hook.
class Steps {
 public:
  void Passed() {
    if (InPlaceRestoreStepHook()) InPlaceRestoreStepHook()(++passed_);
  }

 private:
  int passed_ = 0;
};

// The connection's database file taken for the connection alone: out of
// WAL mode, which folds the WAL in and needs every other connection gone,
// under an exclusive lock kept until the end, when the file goes back to
// WAL mode and to everyone. Runs outside the connection's own transaction
// bookkeeping, which none of this touches.
class TakenFile {
 public:
  explicit TakenFile(Connection& connection) : db_(connection.Handle()) {
    // Leaving WAL mode takes the exclusive lock, which exclusive locking
    // mode keeps.
    taken_ = Run("PRAGMA main.locking_mode = EXCLUSIVE") && JournalMode("DELETE");
  }
  ~TakenFile() {
    Run("PRAGMA main.locking_mode = NORMAL");
    // A read lets the lock go: the next finds the file's header changed, if
    // it was written here, and reads it anew.
    Run("PRAGMA main.schema_version");
    JournalMode("WAL");
    // A first read after the copy ends the transaction state it leaves on
    // the connection's temporary database, which keeps a checkpoint off.
    Run("SELECT count(*) FROM main.sqlite_master");
  }
  TakenFile(const TakenFile&) = delete;
  TakenFile& operator=(const TakenFile&) = delete;

  bool Taken() const { return taken_; }
  sqlite3* Handle() const { return db_; }

 private:
  bool Run(const char* sql) const { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
  bool JournalMode(const char* mode) const {
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QByteArrayLiteral("PRAGMA main.journal_mode = ") + mode;
    bool set = sqlite3_prepare_v2(db_, sql.constData(), -1, &statement, nullptr) == SQLITE_OK &&
               sqlite3_step(statement) == SQLITE_ROW &&
               qstricmp(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), mode) == 0;
    sqlite3_finalize(statement);
    return set;
  }

  sqlite3* db_;
  bool taken_ = false;
};

// A descriptor this process has open on the file, SQLite's own: only to
// start the file's way to the disk, never closed here, which would let go
// of every lock the process holds on the file. -1 where there is none.
int OpenDescriptorOf(const char* file) {
  struct stat wanted {};
  if (::stat(file, &wanted) != 0) return -1;
  const QStringList open = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System);
  for (const QString& name : open) {
    bool number = false;
    const int descriptor = name.toInt(&number);
    struct stat seen {};
    if (number && ::fstat(descriptor, &seen) == 0 && seen.st_dev == wanted.st_dev && seen.st_ino == wanted.st_ino)
      return descriptor;
  }
  return -1;
}

// The taken file's own bytes, below SQLite: SQLite's file takes writes of
// less than 128 KiB.
class RawFile {
 public:
  explicit RawFile(sqlite3* db) : descriptor_(OpenDescriptorOf(sqlite3_db_filename(db, "main"))) {
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file_) != SQLITE_OK || !file_ || !file_->pMethods)
      RaiseSqliteError(db, SQLITE_IOERR);
  }
  QByteArray Header() const {
    QByteArray header(BackupHeader::kSize, '\0');
    sqlite3_int64 size = 0;
    Succeed(file_->pMethods->xFileSize(file_, &size));
    if (size >= header.size()) Succeed(file_->pMethods->xRead(file_, header.data(), int(header.size()), 0));
    return header;
  }
  void Write(const char* data, qint64 length, qint64 at) const {
    constexpr qint64 kPiece = 1 << 16;
    for (qint64 done = 0; done < length; done += kPiece)
      Succeed(file_->pMethods->xWrite(file_, data + done, int(qMin(kPiece, length - done)), at + done));
  }
  // The sync that follows finds that much on its way already.
  void StartWriteBack(qint64 at, qint64 length) const {
    if (descriptor_ >= 0) ::sync_file_range(descriptor_, at, length, SYNC_FILE_RANGE_WRITE);
  }
  void Truncate(qint64 size) const { Succeed(file_->pMethods->xTruncate(file_, size)); }
  void Sync() const { Succeed(file_->pMethods->xSync(file_, SQLITE_SYNC_NORMAL)); }

 private:
  static void Succeed(int result) {
    if (result != SQLITE_OK) RaiseSqliteError(nullptr, result);
  }
  int descriptor_;
  sqlite3_file* file_ = nullptr;
};

// Writes the checked backup over the taken database, whose restore's link
// is on disk: page 1 first made that of an empty database, on disk before
// any other page is written, then the other pages, the file cut to the
// backup's length and on disk, then the backup's page 1 as a restored
// database's; the link goes once all is on disk. Any program reads the old
// database, an empty one or the restored one, never a mix. The counters of
// the header move on as another program's writes would move them, so the
// connection reads the file anew. A failure leaves the link: the database
// is finished from it later.
BackupCheck Overwrite(OnceReadFile& backup, const RawFile& file, const QString& name, Steps& steps) {
  const QByteArray* first = backup.Block(0);
  const std::optional<qint64> pageSize =
      first ? BackupHeader::WholePageSize(first->left(BackupHeader::kSize), backup.Size()) : std::nullopt;
  if (!pageSize) return BackupCheck::Damaged;
  const QByteArray was = file.Header();
  const quint32 counter = BackupHeader::ChangeCounter(was.constData());
  QByteArray firstPage = first->left(*pageSize);
  const QByteArray empty = BackupHeader::EmptyDatabasePage(firstPage, counter + 1);
  BackupHeader::MarkRestored(firstPage.data(), counter + 2, BackupHeader::SchemaCookie(was.constData()) + 2);

  file.Write(empty.constData(), empty.size(), 0);
  file.Sync();
  steps.Passed();
  for (qint64 index = 0; index < backup.BlockCount(); ++index) {
    const QByteArray* block = backup.Block(index);
    if (!block) return BackupCheck::Damaged;
    const qint64 skipped = index == 0 ? *pageSize : 0;
    file.Write(block->constData() + skipped, block->size() - skipped, index * OnceReadFile::kBlock + skipped);
    file.StartWriteBack(index * OnceReadFile::kBlock, block->size());
    steps.Passed();
  }
  file.Truncate(backup.Size());
  file.Sync();
  file.Write(firstPage.constData(), firstPage.size(), 0);
  file.Sync();
  steps.Passed();
  // Once gone for good, the restore is never done again over what is
  // written into the database after it.
  if (!QFile::remove(name + kUnderWay) || !SyncFolderOf(name)) RaiseSqliteError(nullptr, SQLITE_IOERR);
  steps.Passed();
  return BackupCheck::Whole;
}

// The link of this restore, removed unless it became the restore's.
class PreparedLink {
 public:
  explicit PreparedLink(const QString& database) : link_(database + kPrepared) {
    QFile::remove(link_);  // a killed restore's
  }
  ~PreparedLink() { QFile::remove(link_); }
  PreparedLink(const PreparedLink&) = delete;
  PreparedLink& operator=(const PreparedLink&) = delete;

  // To the file itself where the name given is a symbolic link, which from
  // beside the database could lead elsewhere, or nowhere.
  bool Make(const QString& backup) const {
    return ::linkat(AT_FDCWD, Path(backup).constData(), AT_FDCWD, Path(link_).constData(), AT_SYMLINK_FOLLOW) == 0;
  }
  bool Commit(const QString& database) const {
    return std::rename(Path(link_).constData(), Path(database + kUnderWay).constData()) == 0 &&
           SyncFolderOf(database);
  }
  const QString& Name() const { return link_; }

 private:
  QString link_;
};

}  // namespace

std::function<void(int)>& InPlaceRestoreStepHook() {
  static std::function<void(int)> hook;
  return hook;
}

QStringList RestoreSideFiles(const QString& database) { return {database + kUnderWay, database + kPrepared}; }

bool RestoreCutShort(const QString& database) { return QFileInfo::exists(database + kUnderWay); }

void ForgetRestoreCutShort(const QString& database) {
  if (QFile::remove(database + kUnderWay)) SyncFolderOf(database);
}

std::optional<BackupCheck> RestoreInPlace(const QString& backup, Connection& connection) {
  const QString& database = connection.FileName();
  const PreparedLink link(database);
  // The link, not the name given, is read from here on: the file it names
  // cannot be swapped under the restore, nor taken from a restore cut short.
  if (!link.Make(backup)) return std::nullopt;
  BackupSource source(link.Name());
  if (source.Form() != BackupCheck::Whole) return source.Form();
  if (const BackupCheck check = source.Check(); check != BackupCheck::Whole) return check;
  const TakenFile file(connection);
  if (!file.Taken()) return std::nullopt;
  Steps steps;
  steps.Passed();
  // From here on the restore takes place, now or, cut short, later.
  if (!link.Commit(database)) {
    QFile::remove(database + kUnderWay);
    return std::nullopt;
  }
  steps.Passed();
  return Overwrite(source.Bytes(), RawFile(file.Handle()), database, steps);
}

std::optional<BackupCheck> CopyOutOfWal(BackupSource& backup, Connection& connection) {
  const TakenFile file(connection);
  if (!file.Taken()) return std::nullopt;
  return backup.CopyInto(connection);
}

bool FinishInterruptedRestore(const QString& database) {
  QFile::remove(database + kPrepared);  // a restore killed before it was sure to take place
  if (!RestoreCutShort(database)) return true;
  try {
    BackupSource source(database + kUnderWay);
    if (source.Form() != BackupCheck::Whole || source.Check() != BackupCheck::Whole) return false;
    Steps steps;
    steps.Passed();
    // Half written, the file is no database of the system's yet.
    const std::shared_ptr<Connection> connection = OpenBackupFile(database, FileAccess::Write);
    const TakenFile file(*connection);
    if (!file.Taken()) return false;
    // Finished meanwhile by another program, which let the file go only
    // then: what was written into it since stays.
    if (!RestoreCutShort(database)) return true;
    return Overwrite(source.Bytes(), RawFile(file.Handle()), database, steps) == BackupCheck::Whole;
  } catch (const EDatabaseError&) {
    return false;
  }
}
