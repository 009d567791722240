#include "platform/sql/InPlaceRestore.h"

#include "platform/sql/BackupSource.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

// "<database>-restauracion": the backup the file is being restored from.
const QString kUnderWay = QStringLiteral("-restauracion");
// The link made before the restore is sure to take place.
const QString kPrepared = QStringLiteral("-restauracion.nueva");

QByteArray Path(const QString& file) { return QFile::encodeName(file); }

bool SyncFolderOf(const QString& file) {
  const int folder = ::open(Path(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return false;
  const bool synced = ::fsync(folder) == 0;
  ::close(folder);
  return synced;
}

void Step() {
  static thread_local int step = 0;
  if (InPlaceRestoreStepHook()) InPlaceRestoreStepHook()(++step);
}

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
    JournalMode("WAL");
    // A first read after the copy ends the transaction state it leaves on
    // the connection's temporary database, which keeps a checkpoint off.
    Run("SELECT count(*) FROM main.sqlite_master");
  }
  TakenFile(const TakenFile&) = delete;
  TakenFile& operator=(const TakenFile&) = delete;

  bool Taken() const { return taken_; }
  // Pages written from now on go straight into the file.
  void WriteWithoutJournal() const {
    if (!JournalMode("OFF")) RaiseSqliteError(db_, sqlite3_errcode(db_));
  }

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

// Writes the checked backup over the taken database, whose restore's link
// is on disk, and lets the link go once the database is whole on disk. A
// failure leaves the link: the database is finished from it later.
BackupCheck Overwrite(BackupSource& backup, Connection& database, const TakenFile& file, const QString& name) {
  file.WriteWithoutJournal();
  Step();
  if (backup.CopyInto(database) != BackupCheck::Whole) return BackupCheck::Damaged;
  TakeBackupMarkOff(database);
  Step();
  // Once gone for good, the restore is never done again over what is
  // written into the database after it.
  if (!QFile::remove(name + kUnderWay) || !SyncFolderOf(name)) RaiseSqliteError(nullptr, SQLITE_IOERR);
  Step();
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

  bool Make(const QString& backup) const { return ::link(Path(backup).constData(), Path(link_).constData()) == 0; }
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
  // From here on the restore takes place, now or, cut short, later.
  if (!link.Commit(database)) {
    QFile::remove(database + kUnderWay);
    return std::nullopt;
  }
  Step();
  return Overwrite(source, connection, file, database);
}

bool FinishInterruptedRestore(const QString& database) {
  if (!RestoreCutShort(database)) return true;
  try {
    BackupSource source(database + kUnderWay);
    if (source.Form() != BackupCheck::Whole || source.Check() != BackupCheck::Whole) return false;
    // Half written, the file is no database of the system's yet.
    const std::shared_ptr<Connection> connection = OpenBackupFile(database, FileAccess::Write);
    const TakenFile file(*connection);
    return file.Taken() && Overwrite(source, *connection, file, database) == BackupCheck::Whole;
  } catch (const EDatabaseError&) {
    return false;
  }
}
