#include "platform/sql/InPlaceRestore.h"
#include "platform/sql/ProcessIdentity.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Rows = QList<QStringList>;

constexpr char kFolder[] = "ZEM_BACKUP_FOLDER";
constexpr char kSignal[] = "ZEM_BACKUP_SIGNAL";  // "ignore": a write past the limit fails instead of killing
constexpr rlim_t kFileLimit = 64 * 1024;
const QString kBackupName = u"dbb_EMP1_20240131154500.bak"_qs;

QString RestoreStatement(const QString& backup) {
  return u"RESTORE DATABASE EMP1  FROM DISK = '"_qs + backup + u"'WITH REPLACE"_qs;
}

QString Terminating(const QString& text, const char* statement) {
  return text + u"\n"_qs + QLatin1String(statement) + u" is terminating abnormally."_qs;
}

// Job "backup-limited": a BACKUP in a process that cannot write a file past
// 64 KiB, killed by the system there (SIGXFSZ) or, with the signal ignored,
// answered with a failed write.
void backupLimited() {
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  if (qEnvironmentVariable(kSignal) == u"ignore") std::signal(SIGXFSZ, SIG_IGN);
  const QString folder = qEnvironmentVariable(kFolder);
  ServerClient client(folder);
  const rlimit limit{kFileLimit, kFileLimit};
  setrlimit(RLIMIT_FSIZE, &limit);
  SecondProcess::Report(u"started"_qs);
  // A report is one line.
  SecondProcess::Report(client.Error(u"BACKUP DATABASE EMP1  TO DISK = '"_qs + QDir(folder).filePath(kBackupName) +
                                     u"'  WITH FORMAT"_qs).replace(u'\n', u'|'));
}

[[maybe_unused]] const bool registered = SecondProcess::RegisterJob(u"backup-limited"_qs, backupLimited);

// Job "restore-waiting": a RESTORE of EMP1 from the backup, sent when the
// first process says so, that waits as long as it takes for the locks it
// meets.
void restoreWaiting() {
  ConnectionSettings::SetBusyTimeout(10 * 60 * 1000);
  const QString folder = qEnvironmentVariable(kFolder);
  ServerClient client(folder);
  SecondProcess::Report(u"started"_qs);
  SecondProcess::NextLine();
  SecondProcess::Report(client.Error(RestoreStatement(QDir(folder).filePath(kBackupName))).replace(u'\n', u'|'));
}

[[maybe_unused]] const bool restoreRegistered = SecondProcess::RegisterJob(u"restore-waiting"_qs, restoreWaiting);

constexpr char kStopFile[] = "ZEM_BACKUP_STOP";
constexpr int kFirstWritten = 100000;

// Job "writing-batches": another program that, until the stop file
// appears, commits batch after batch of ten rows into EMP1's CLIENTES
// (batch n: Codigo 100000 + 10n to 100000 + 10n + 9, named "lote n"), and
// now and then keeps an older state read for a while, so that the WAL
// cannot always be copied back into the file.
void writingBatches() {
  const QString file = qEnvironmentVariable(kFolder);
  const QString stop = qEnvironmentVariable(kStopFile);
  sqlite3* writer = nullptr;
  sqlite3* reader = nullptr;
  sqlite3_open_v2(file.toUtf8().constData(), &writer, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_open_v2(file.toUtf8().constData(), &reader, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_busy_timeout(writer, 60000);
  sqlite3_busy_timeout(reader, 60000);
  for (int batch = 0; !QFile::exists(stop); ++batch) {
    if (batch % 40 == 0) sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM CLIENTES", nullptr, nullptr, nullptr);
    if (batch % 40 == 20) sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    QByteArray sql = "BEGIN IMMEDIATE;";
    for (int row = 0; row < 10; ++row)
      sql += "INSERT INTO CLIENTES (Codigo, Nombre) VALUES (" + QByteArray::number(kFirstWritten + 10 * batch + row) +
             ", 'lote " + QByteArray::number(batch) + "');";
    sql += "COMMIT;";
    if (sqlite3_exec(writer, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
    if (batch == 0) SecondProcess::Report(u"started"_qs);
  }
  sqlite3_close_v2(reader);
  sqlite3_close_v2(writer);
}

[[maybe_unused]] const bool writingRegistered = SecondProcess::RegisterJob(u"writing-batches"_qs, writingBatches);

constexpr char kKillAt[] = "ZEM_RESTORE_KILL_AT";
constexpr char kStatement[] = "ZEM_RESTORE_STATEMENT";

// Job "killed-at-step": a statement on the server that restores in place
// (a RESTORE, or a session that finishes one cut short), killed at that
// step of its restore.
void killedAtStep() {
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  const int killAt = qEnvironmentVariableIntValue(kKillAt);
  InPlaceRestoreStepHook() = [killAt](int step) {
    if (step == killAt) ::raise(SIGKILL);
  };
  ServerClient client(qEnvironmentVariable(kFolder));
  SecondProcess::Report(client.Error(qEnvironmentVariable(kStatement)).replace(u'\n', u'|'));
}

[[maybe_unused]] const bool killedRegistered = SecondProcess::RegisterJob(u"killed-at-step"_qs, killedAtStep);

constexpr char kFile[] = "ZEM_RESTORE_FILE";

// Job "other-program": another program that opens the file at once and
// reads nothing until told; then runs each line it is sent as SQL and
// reports the rows ("a,b;c,d") or "error <code> <text>".
void otherProgram() {
  sqlite3* db = nullptr;
  sqlite3_open_v2(qEnvironmentVariable(kFile).toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_busy_timeout(db, 60000);
  SecondProcess::Report(u"started"_qs);
  for (QString line = SecondProcess::NextLine(); !line.isEmpty(); line = SecondProcess::NextLine()) {
    QStringList rows;
    sqlite3_stmt* statement = nullptr;
    int result = sqlite3_prepare_v2(db, line.toUtf8().constData(), -1, &statement, nullptr);
    while (result == SQLITE_OK && (result = sqlite3_step(statement)) == SQLITE_ROW) {
      QStringList columns;
      for (int column = 0; column < sqlite3_column_count(statement); ++column)
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
      rows << columns.join(u',');
      result = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    SecondProcess::Report(result == SQLITE_DONE ? rows.join(u';')
                                                : u"error %1 %2"_qs.arg(result).arg(QString::fromUtf8(sqlite3_errmsg(db))));
  }
  sqlite3_close_v2(db);
}

[[maybe_unused]] const bool otherRegistered = SecondProcess::RegisterJob(u"other-program"_qs, otherProgram);

// Job "reading-states": another program that, until the stop file appears,
// opens the file, reads in one transaction what CLIENTES holds and closes
// it again, over and over; it reports each state it read that is neither
// "old" (10 rows named 'antes') nor "restored" (2000 rows of 150 'x'), and
// at the end how many of each it read.
void readingStates() {
  const QByteArray file = qEnvironmentVariable(kFile).toUtf8();
  const QString stop = qEnvironmentVariable(kStopFile);
  int old = 0;
  int restored = 0;
  SecondProcess::Report(u"started"_qs);
  for (int round = 0; !QFile::exists(stop); ++round) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 60000);
    sqlite3_stmt* statement = nullptr;
    const char* sql = round % 10 == 9 ? "SELECT -1, -1, -1, (SELECT group_concat(integrity_check) FROM pragma_integrity_check)"
                                      : "SELECT count(*), sum(Nombre COLLATE BINARY = 'antes'), sum(Nombre COLLATE BINARY = printf('%.150c', 'x')), 'ok' FROM CLIENTES";
    int result = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (result == SQLITE_OK) result = sqlite3_step(statement);
    if (result == SQLITE_ROW) {
      const qint64 rows = sqlite3_column_int64(statement, 0);
      const qint64 antes = sqlite3_column_int64(statement, 1);
      const qint64 xs = sqlite3_column_int64(statement, 2);
      const QString check = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 3)));
      if (check != u"ok"_qs) SecondProcess::Report(u"check: "_qs + check.left(200));
      else if (rows == 10 && antes == 10) ++old;
      else if (rows == 2000 && xs == 2000) ++restored;
      else if (rows != -1) SecondProcess::Report(u"read %1 rows, %2 old, %3 restored"_qs.arg(rows).arg(antes).arg(xs));
    } else {
      SecondProcess::Report(u"error %1 %2"_qs.arg(result).arg(QString::fromUtf8(sqlite3_errmsg(db))));
    }
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
  }
  SecondProcess::Report(u"read %1 old, %2 restored"_qs.arg(old).arg(restored));
}

[[maybe_unused]] const bool readingRegistered = SecondProcess::RegisterJob(u"reading-states"_qs, readingStates);

// Job "restore-limited": a RESTORE of EMP1 from the backup in a process
// that cannot write a file past 1 MiB (the write fails), then a session
// onto EMP1 in that process; each outcome reported.
void restoreLimited() {
  std::signal(SIGXFSZ, SIG_IGN);
  const QString folder = qEnvironmentVariable(kFolder);
  ServerClient client(folder);
  const rlimit limit{1 << 20, 1 << 20};
  setrlimit(RLIMIT_FSIZE, &limit);
  SecondProcess::Report(client.Error(RestoreStatement(QDir(folder).filePath(kBackupName))).replace(u'\n', u'|'));
  SecondProcess::Report(client.Error(u"USE EMP1"_qs));
}

[[maybe_unused]] const bool limitedRegistered = SecondProcess::RegisterJob(u"restore-limited"_qs, restoreLimited);

// Job "paused-at-step": a statement on the server that restores in place,
// paused at that step of its restore until the first process says go.
void pausedAtStep() {
  const int pauseAt = qEnvironmentVariableIntValue(kKillAt);
  InPlaceRestoreStepHook() = [pauseAt](int step) {
    if (step != pauseAt) return;
    SecondProcess::Report(u"paused"_qs);
    SecondProcess::NextLine();
  };
  ServerClient client(qEnvironmentVariable(kFolder));
  SecondProcess::Report(client.Error(qEnvironmentVariable(kStatement)).replace(u'\n', u'|'));
}

[[maybe_unused]] const bool pausedRegistered = SecondProcess::RegisterJob(u"paused-at-step"_qs, pausedAtStep);

// A file opened apart from the process's own connections, as another
// program would.
class OtherProgramsFile {
 public:
  explicit OtherProgramsFile(const QString& file) {
    sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  }
  ~OtherProgramsFile() { sqlite3_close_v2(db_); }
  OtherProgramsFile(const OtherProgramsFile&) = delete;
  OtherProgramsFile& operator=(const OtherProgramsFile&) = delete;
  int Run(const QByteArray& sql) { return sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr); }
  sqlite3* Handle() const { return db_; }
  // Its WAL stays when it closes, as that of a program killed.
  void KeepWalOnClose() { sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr); }
  // Whether someone holds the file's write lock now.
  bool WriteLocked() {
    if (Run("BEGIN IMMEDIATE") != SQLITE_OK) return true;
    Run("ROLLBACK");
    return false;
  }
  qint64 Number(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    qint64 number = 0;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
      number = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return number;
  }

 private:
  sqlite3* db_ = nullptr;
};

class BackupFiles : public ::testing::Test {
 protected:
  BackupFiles() : client_(folder_.Path()) {
    client_.Run(u"CREATE DATABASE EMP1"_qs);
    client_.Run(u"USE EMP1 CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(200) DEFAULT '' NULL, "
                "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
    client_.Run(u"BEGIN TRANSACTION"_qs);
    for (int codigo = 1; codigo <= 2000; ++codigo)
      client_.Run(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (%1, '%2')"_qs.arg(codigo).arg(u"x"_qs.repeated(150)));
    client_.Run(u"COMMIT TRANSACTION"_qs);
    // Read elsewhere, the database needs nothing written beside it.
    client_.Connection().Execute(u"PRAGMA wal_checkpoint(TRUNCATE)"_qs);
  }

  QString Backup() const { return folder_.File(kBackupName); }
  QString Restore() { return client_.Error(RestoreStatement(Backup())); }
  // Runs a batch that restores, expecting no error: the steps of a restore
  // in place it went through, 0 where it went through the WAL.
  int StepsInPlace(const QString& batch) {
    int steps = 0;
    InPlaceRestoreStepHook() = [&steps](int step) { steps = step; };
    EXPECT_EQ(client_.Error(batch), QString()) << batch.toStdString();
    InPlaceRestoreStepHook() = nullptr;
    return steps;
  }
  Rows Count() { return client_.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES"_qs); }
  // The files of the folder besides the server's own databases.
  QStringList OtherFiles() const {
    QStringList files = QDir(folder_.Path()).entryList(QDir::Files);
    files.removeIf([](const QString& file) { return file.contains(u".sqlite"_qs); });
    return files;
  }

  static QByteArray Bytes(const QString& file) {
    QFile data(file);
    return data.open(QIODevice::ReadOnly) ? data.readAll() : QByteArray();
  }
  static void WriteBytes(const QString& file, const QByteArray& bytes) {
    QFile data(file);
    ASSERT_TRUE(data.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(data.write(bytes), bytes.size());
  }
  static QByteArray Flipped(QByteArray bytes, qsizetype at) {
    bytes[at] = char(bytes[at] ^ 0x5a);
    return bytes;
  }
  // A backup of EMP1 as versions before the page checksum wrote it: a copy
  // of the database read without a WAL, with their mark and, with
  // sha256, four bytes of the SHA-256 of every byte but those four.
  QByteArray EarlierBackup(bool sha256) {
    const QString file = folder_.File(u"anterior.bak"_qs);
    QFile::remove(file);
    {
      OtherProgramsFile database(client_.Server().DatabaseFile(u"EMP1"_qs));
      OtherProgramsFile backup(file);
      sqlite3_backup* copy = sqlite3_backup_init(backup.Handle(), "main", database.Handle(), "main");
      EXPECT_EQ(sqlite3_backup_step(copy, -1), SQLITE_DONE);
      EXPECT_EQ(sqlite3_backup_finish(copy), SQLITE_OK);
      EXPECT_EQ(backup.Run("PRAGMA application_id = " + QByteArray::number(0x5A454D42)), SQLITE_OK);  // "ZEMB"
      EXPECT_EQ(backup.Run("PRAGMA journal_mode = DELETE"), SQLITE_OK);
    }
    QByteArray bytes = Bytes(file);
    QFile::remove(file);
    if (sha256) {
      const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
      bytes.replace(60, 4, digest.left(4));
    }
    return bytes;
  }

  // The batches written by "writing-batches" that EMP1 holds, where they are
  // whole and written in order; -1 otherwise.
  qint64 WholeBatches() {
    OtherProgramsFile database(client_.Server().DatabaseFile(u"EMP1"_qs));
    const QByteArray written = "FROM CLIENTES WHERE Codigo >= " + QByteArray::number(kFirstWritten);
    database.Run("BEGIN");  // one state, whatever is committed meanwhile
    const qint64 rows = database.Number("SELECT count(*) " + written);
    const qint64 batches = database.Number("SELECT coalesce(max((Codigo - 100000) / 10) + 1, 0) " + written);
    const qint64 misnamed = database.Number("SELECT count(*) " + written +
                                            " AND Nombre <> 'lote ' || ((Codigo - 100000) / 10)");
    database.Run("COMMIT");
    return rows == 10 * batches && misnamed == 0 ? batches : -1;
  }

  // Another process that cannot write past the limit, its backup started.
  std::unique_ptr<SecondProcess> LimitedProcess(const char* signal) {
    auto second = std::make_unique<SecondProcess>(
        u"backup-limited"_qs, QMap<QString, QString>{{kFolder, folder_.Path()}, {kSignal, QString::fromLatin1(signal)}});
    EXPECT_EQ(second->ReadReport(), u"started"_qs);
    return second;
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

}  // namespace

TEST_F(BackupFiles, WhatIsNotAWholeBackupIsRefusedAndTheDatabaseKept) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QByteArray backup = Bytes(Backup());
  ASSERT_GT(backup.size(), 8192);
  EXPECT_EQ(OtherFiles(), QStringList{kBackupName});

  const QString malformed = Terminating(u"The media family on device '"_qs + Backup() +
                                            u"' is incorrectly formed. SQL Server cannot process this media family."_qs,
                                        "RESTORE DATABASE");
  const QString damaged = Terminating(u"Damage to the backup set was detected."_qs, "RESTORE DATABASE");
  // Cut right after it was opened, at a page's end, in the middle of a page; a page spoilt; a page and a
  // byte added at its end; a byte changed in a row, in the checksum, in the mark.
  QByteArray spoilt = backup;
  spoilt.replace(backup.size() - 4096, 4096, QByteArray(4096, '\xff'));
  const qsizetype row = backup.indexOf(QByteArray(150, 'x'), backup.size() / 2);
  ASSERT_GT(row, 0);
  const struct {
    QByteArray file;
    const QString& refusal;
  } cases[] = {{QByteArray(), malformed},
               {backup.left(4096), malformed},
               {backup.left(backup.size() / 2 / 4096 * 4096), malformed},
               {backup.left(backup.size() - 100), malformed},
               {backup.left(50), malformed},
               {spoilt, damaged},
               {backup + QByteArray(4096, '\0'), damaged},
               {backup + '\n', malformed},
               {Flipped(backup, row + 7), damaged},
               {Flipped(backup, 61), damaged},
               {Flipped(backup, 70), malformed}};
  for (const auto& refused : cases) {
    WriteBytes(Backup(), refused.file);
    client_.Run(u"USE master"_qs);
    EXPECT_EQ(Restore(), refused.refusal) << refused.file.size();
    EXPECT_EQ(Count(), Rows({{"2000"}})) << refused.file.size();
  }
  EXPECT_EQ(OtherFiles(), QStringList{kBackupName});
}

// Whatever byte of a backup changes, its restore is refused and the
// database kept.
TEST_F(BackupFiles, EveryByteOfABackupIsChecked) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QByteArray backup = Bytes(Backup());
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 1000"_qs);
  client_.Run(u"USE master"_qs);
  for (qsizetype at = 0; at < backup.size(); at += 1009) {
    WriteBytes(Backup(), Flipped(backup, at));
    EXPECT_NE(Restore(), QString()) << at;
    EXPECT_EQ(Count(), Rows({{"1000"}})) << at;
    client_.Run(u"USE master"_qs);
  }
  WriteBytes(Backup(), backup);
  EXPECT_EQ(Restore(), QString());
  EXPECT_EQ(Count(), Rows({{"2000"}}));
}

// A "-wal", "-shm" or "-journal" beside a backup, here those of a copy of
// it in which a row was changed, is not read: the backup's own rows come
// back, and what lay beside it stays as it was.
TEST_F(BackupFiles, WhatLiesBesideABackupIsNotRestored) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QString copy = folder_.File(u"copia.db"_qs);
  ASSERT_TRUE(QFile::copy(Backup(), copy));
  {
    OtherProgramsFile changed(copy);
    ASSERT_EQ(changed.Run("PRAGMA journal_mode = WAL"), SQLITE_OK);
    changed.KeepWalOnClose();
    ASSERT_EQ(changed.Run("UPDATE CLIENTES SET Nombre = 'PLANTADO' WHERE Codigo = 1000"), SQLITE_OK);
    ASSERT_EQ(changed.Number("SELECT count(*) FROM CLIENTES WHERE Nombre COLLATE BINARY = 'PLANTADO'"), 1);
  }
  const QMap<QString, QByteArray> planted{{Backup() + u"-wal"_qs, Bytes(copy + u"-wal"_qs)},
                                          {Backup() + u"-shm"_qs, Bytes(copy + u"-shm"_qs)},
                                          {Backup() + u"-journal"_qs, QByteArray(4096, '\x5a')}};
  ASSERT_FALSE(planted.first().isEmpty());
  for (auto file = planted.begin(); file != planted.end(); ++file) WriteBytes(file.key(), file.value());
  client_.Run(u"USE EMP1 UPDATE CLIENTES SET Nombre = 'después'"_qs);
  client_.Run(u"USE master"_qs);

  EXPECT_EQ(Restore(), QString());
  EXPECT_EQ(client_.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES WHERE Nombre = '"_qs + u"x"_qs.repeated(150) + u"'"_qs),
            Rows({{"2000"}}));
  for (auto file = planted.begin(); file != planted.end(); ++file) EXPECT_EQ(Bytes(file.key()), file.value());
}

// Backups written before the page checksum: without a checksum, taken where
// SQLite's full check finds their structure whole; with the SHA-256 one,
// where it matches.
TEST_F(BackupFiles, BackupsOfEarlierVersionsAreRestoredWhereTheyAreWhole) {
  const QString malformed = Terminating(u"The media family on device '"_qs + Backup() +
                                            u"' is incorrectly formed. SQL Server cannot process this media family."_qs,
                                        "RESTORE DATABASE");
  const QString damaged = Terminating(u"Damage to the backup set was detected."_qs, "RESTORE DATABASE");
  const QByteArray unchecked = EarlierBackup(false);
  const QByteArray sha256 = EarlierBackup(true);
  ASSERT_NE(unchecked, sha256);
  // The first b-tree page's kind spoilt; a byte of a row changed.
  const qsizetype secondPage = 4096;
  const qsizetype row = unchecked.indexOf(QByteArray(150, 'x'), unchecked.size() / 2);
  const struct {
    QByteArray file;
    QString outcome;
  } cases[] = {{unchecked, QString()},
               {sha256, QString()},
               {Flipped(unchecked, secondPage), malformed},
               {unchecked.left(unchecked.size() - 4096), malformed},
               {Flipped(sha256, row + 3), damaged},
               {Flipped(sha256, secondPage), damaged}};
  for (const auto& backup : cases) {
    client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10"_qs);
    client_.Run(u"USE master"_qs);
    WriteBytes(Backup(), backup.file);
    EXPECT_EQ(Restore().toStdString(), backup.outcome.toStdString()) << backup.file.size();
    EXPECT_EQ(Count(), Rows({{backup.outcome.isEmpty() ? "2000" : "10"}})) << backup.file.size();
  }
}

TEST_F(BackupFiles, ABackupKilledWhileWritingLeavesNoBackupFile) {
  // The process ends at its first write past the limit.
  const auto killed = LimitedProcess("kill");
  killed->Finish();
  EXPECT_TRUE(killed->Crashed());
  EXPECT_FALSE(QFile::exists(Backup()));
  client_.Run(u"USE master"_qs);
  EXPECT_EQ(Restore(), Terminating(u"Cannot open backup device '"_qs + Backup() +
                                       u"'. Operating system error 2(The system cannot find the file specified.)."_qs,
                                   "RESTORE DATABASE"));
  EXPECT_EQ(Count(), Rows({{"2000"}}));
}

TEST_F(BackupFiles, AFailedBackupLeavesNoFileAndAnOlderBackupStays) {
  const auto failing = LimitedProcess("ignore");
  const QString report = failing->ReadReport();
  EXPECT_TRUE(report.endsWith(u"|BACKUP DATABASE is terminating abnormally."_qs)) << report.toStdString();
  EXPECT_EQ(failing->Finish(), 0);
  EXPECT_EQ(OtherFiles(), QStringList());

  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 1"_qs);
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  client_.Run(u"USE EMP1 INSERT INTO CLIENTES (Codigo, Nombre) SELECT Codigo + 1, Nombre FROM CLIENTES"_qs);
  EXPECT_TRUE(LimitedProcess("ignore")->ReadReport().contains(u"BACKUP DATABASE is terminating abnormally."_qs));
  EXPECT_EQ(OtherFiles(), QStringList{kBackupName});
  client_.Run(u"USE master"_qs);
  EXPECT_EQ(Restore(), QString());
  EXPECT_EQ(Count(), Rows({{"1"}}));
}

TEST_F(BackupFiles, WhatAKilledBackupLeftIsRemovedByAnyLaterBackupAndALiveOneIsKept) {
  const auto killed = LimitedProcess("kill");
  killed->Finish();
  ASSERT_TRUE(killed->Crashed());
  // The partial file and its journal.
  ASSERT_FALSE(OtherFiles().isEmpty());
  for (const QString& left : OtherFiles()) EXPECT_TRUE(left.startsWith(kBackupName + u".copia-"_qs)) << left.toStdString();
  // One being written by a live process stays.
  const ProcessIdentity self = ProcessIdentity::Current();
  const QString liveName = u"otra.bak.copia-%1-%2.tmp"_qs.arg(self.pid).arg(self.started);
  QFile liveFile(folder_.File(liveName));
  ASSERT_TRUE(liveFile.open(QIODevice::WriteOnly));
  liveFile.close();

  const QString other = u"dbb_EMP1_20240131154501.bak"_qs;
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + folder_.File(other) + u"'  WITH FORMAT"_qs);
  EXPECT_EQ(OtherFiles(), QStringList({other, liveName}));
}

// While another program restores a database, which it waits on here, the
// other databases of the server stay open to logins and to USE, and the one
// restored is refused with the server's text; once it ends, it is restored.
TEST_F(BackupFiles, ARestoreUnderWayLetsOthersLogInAndKeepsThemOffItsDatabase) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10"_qs);
  client_.Run(u"CREATE DATABASE EMP2"_qs);
  client_.Run(u"USE master"_qs);
  SecondProcess restoring(u"restore-waiting"_qs, {{kFolder, folder_.Path()}});
  ASSERT_EQ(restoring.ReadReport(), u"started"_qs);
  {
    OtherProgramsFile database(client_.Server().DatabaseFile(u"EMP1"_qs));
    ASSERT_EQ(database.Run("BEGIN IMMEDIATE"), SQLITE_OK);
    restoring.Send(u"go"_qs);
    // The restore has passed its look at the sessions once it holds the
    // master or has put its mark there.
    OtherProgramsFile master(client_.Server().DatabaseFile(u"master"_qs));
    while (!master.WriteLocked() && master.Number("SELECT count(*) FROM restores") == 0) QThread::yieldCurrentThread();

    ServerClient other(folder_.Path());
    EXPECT_EQ(other.Texts(u"USE EMP2 SELECT 1"_qs), Rows({{"1"}}));
    EXPECT_EQ(other.Error(u"USE EMP1"_qs), u"Database 'EMP1' cannot be opened. It is in the middle of a restore."_qs);
    // Nor is it reached by its three-part name, to write or to read.
    for (const QString& statement : {u"INSERT INTO EMP1.dbo.CLIENTES (Codigo, Nombre) VALUES (5000, 'x')"_qs,
                                     u"SELECT COUNT(*) FROM EMP1.dbo.CLIENTES"_qs})
      EXPECT_EQ(other.Error(statement), u"Database 'EMP1' cannot be opened. It is in the middle of a restore."_qs);
    EXPECT_EQ(other.Error(u"DROP DATABASE EMP1"_qs),
              u"Cannot drop database \"EMP1\" because it is currently in use."_qs);
    database.Run("ROLLBACK");
  }
  EXPECT_EQ(restoring.ReadReport(), QString());
  restoring.Finish();
  EXPECT_EQ(Count(), Rows({{"2000"}}));
}

// A restore that fails while it copies lets the database go: sessions come
// onto it again, and it is as it was.
TEST_F(BackupFiles, ARestoreThatFailsWhileCopyingLetsOthersBackOntoItsDatabase) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10"_qs);
  client_.Run(u"USE master"_qs);
  {
    OtherProgramsFile database(client_.Server().DatabaseFile(u"EMP1"_qs));
    ASSERT_EQ(database.Run("BEGIN IMMEDIATE"), SQLITE_OK);
    const int waited = ConnectionSettings::BusyTimeout();
    ConnectionSettings::SetBusyTimeout(0);
    EXPECT_NE(Restore(), QString());
    ConnectionSettings::SetBusyTimeout(waited);
    database.Run("ROLLBACK");
  }
  ServerClient other(folder_.Path());
  EXPECT_EQ(other.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES"_qs), Rows({{"10"}}));
}

// Backups taken while another program commits batch after batch, some while
// an older read keeps the WAL from the file, each restore one committed
// state: every batch whole, none after one missing, and a state between the
// one before the backup and the one after it.
TEST_F(BackupFiles, ABackupWhileAnotherProgramWritesRestoresOneCommittedStateOfItsTime) {
  const QString stop = folder_.File(u"parar"_qs);
  SecondProcess writing(u"writing-batches"_qs,
                        {{kFolder, client_.Server().DatabaseFile(u"EMP1"_qs)}, {kStopFile, stop}});
  ASSERT_EQ(writing.ReadReport(), u"started"_qs);
  struct Taken {
    QString file;
    qint64 before;
    qint64 after;
  };
  QList<Taken> taken;
  client_.Run(u"USE master"_qs);
  for (int backup = 0; backup < 12; ++backup) {
    const QString file = folder_.File(u"dbb_EMP1_2024013115450%1.bak"_qs.arg(backup, 2, 10, QLatin1Char('0')));
    const qint64 before = WholeBatches();
    client_.Run(u"BACKUP DATABASE EMP1  TO DISK = '"_qs + file + u"'  WITH FORMAT"_qs);
    taken.append({file, before, WholeBatches()});
    QThread::msleep(20);
  }
  WriteBytes(stop, "1");
  writing.Finish();
  for (const Taken& backup : taken) {
    ASSERT_GE(backup.before, 0);
    EXPECT_EQ(client_.Error(RestoreStatement(backup.file)), QString());
    const qint64 restored = WholeBatches();
    EXPECT_GE(restored, backup.before) << backup.file.toStdString();
    EXPECT_LE(restored, backup.after) << backup.file.toStdString();
    EXPECT_EQ(client_.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES WHERE Codigo <= 2000"_qs), Rows({{"2000"}}));
    client_.Run(u"USE master"_qs);
  }
}

// What is committed only in the WAL is in the backup, whether an older read
// of another program keeps it there or not.
TEST_F(BackupFiles, ABackupHoldsWhatIsCommittedInTheWal) {
  for (const bool olderReadKept : {false, true}) {
    const QString file = client_.Server().DatabaseFile(u"EMP1"_qs);
    OtherProgramsFile reader(file);
    OtherProgramsFile writer(file);
    writer.KeepWalOnClose();
    if (olderReadKept) {
      ASSERT_EQ(reader.Run("BEGIN"), SQLITE_OK);
      ASSERT_EQ(reader.Number("SELECT count(*) FROM CLIENTES"), 2000);
    }
    ASSERT_EQ(writer.Run("DELETE FROM CLIENTES WHERE Codigo > 1500; UPDATE CLIENTES SET Nombre = 'nuevo' WHERE Codigo = 1"),
              SQLITE_OK);
    client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
    ASSERT_EQ(writer.Run("DELETE FROM CLIENTES WHERE Codigo > 10; INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1501, 'y')"),
              SQLITE_OK);
    reader.Run("COMMIT");
    EXPECT_EQ(Restore(), QString()) << olderReadKept;
    EXPECT_EQ(client_.Texts(u"USE EMP1 SELECT COUNT(*), MAX(Codigo) FROM CLIENTES"_qs), Rows({{"1500", "1500"}}))
        << olderReadKept;
    EXPECT_EQ(client_.Texts(u"SELECT Nombre FROM CLIENTES WHERE Codigo = 1"_qs), Rows({{"nuevo"}})) << olderReadKept;
    client_.Run(u"INSERT INTO CLIENTES (Codigo, Nombre) SELECT Codigo + 1500, Nombre FROM CLIENTES WHERE Codigo <= 500"_qs);
    client_.Run(u"USE master"_qs);
    QFile::remove(Backup());
  }
}

// While another program puts a damaged copy of the backup in its place and
// the backup back again, over and over, a restore gives back only bytes
// whose checksum it checked: the backup's rows, or the refusal of the
// damaged one.
TEST_F(BackupFiles, ARestoreGivesBackTheBytesItChecked) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QByteArray backup = Bytes(Backup());
  const qsizetype row = backup.indexOf(QByteArray(150, 'x'), backup.size() / 2);
  ASSERT_GT(row, 0);
  QByteArray damaged = backup;
  damaged.replace(row, 150, QByteArray(150, 'z'));
  const QString whole = folder_.File(u"entera"_qs);
  const QString spoilt = folder_.File(u"danada"_qs);
  const QString next = folder_.File(u"siguiente"_qs);
  WriteBytes(whole, backup);
  WriteBytes(spoilt, damaged);
  std::atomic<bool> swapping = true;
  std::thread other([&] {
    for (bool good = false; swapping; good = !good) {
      if (::link(QFile::encodeName(good ? whole : spoilt).constData(), QFile::encodeName(next).constData()) == 0)
        ::rename(QFile::encodeName(next).constData(), QFile::encodeName(Backup()).constData());
    }
  });
  const QString refused = Terminating(u"Damage to the backup set was detected."_qs, "RESTORE DATABASE");
  int restored = 0;
  for (int attempt = 0; attempt < 60; ++attempt) {
    client_.Run(u"USE EMP1 UPDATE CLIENTES SET Nombre = 'antes'"_qs);
    client_.Run(u"USE master"_qs);
    const QString outcome = Restore();
    if (!outcome.isEmpty()) {
      EXPECT_EQ(outcome, refused);
      continue;
    }
    ++restored;
    EXPECT_EQ(client_.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES WHERE Nombre = '"_qs + u"x"_qs.repeated(150) + u"'"_qs),
              Rows({{"2000"}})) << attempt;
  }
  swapping = false;
  other.join();
  EXPECT_GT(restored, 0);
}

// A restore into a database not yet made that fails leaves neither the
// database nor its file.
TEST_F(BackupFiles, AFailedRestoreOfANewDatabaseLeavesNothing) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QByteArray backup = Bytes(Backup());
  WriteBytes(Backup(), Flipped(backup, backup.size() - 10));
  const QStringList before = QDir(folder_.Path()).entryList(QDir::Files);
  EXPECT_EQ(client_.Error(u"RESTORE DATABASE EMP9  FROM DISK = '"_qs + Backup() + u"'"_qs),
            Terminating(u"Damage to the backup set was detected."_qs, "RESTORE DATABASE"));
  EXPECT_EQ(QDir(folder_.Path()).entryList(QDir::Files), before);
  WriteBytes(Backup(), backup);
  EXPECT_EQ(client_.Error(u"RESTORE DATABASE EMP9  FROM DISK = '"_qs + Backup() + u"'"_qs), QString());
  EXPECT_EQ(client_.Texts(u"USE EMP9 SELECT COUNT(*) FROM CLIENTES"_qs), Rows({{"2000"}}));
}

// A restore in place killed at any of its steps, and the session that then
// finishes it killed too, or not: any program reads the old database, an
// empty one or the restored one, never a mix; the next session comes onto
// the old database where the kill came before the restore was sure to take
// place, else onto the restored one, and nothing is left beside it.
TEST_F(BackupFiles, ARestoreKilledAtAnyStepLeavesTheOldDatabaseOrOneTheNextSessionRestores) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QString restore = RestoreStatement(Backup());
  const QString file = client_.Server().DatabaseFile(u"EMP1"_qs);
  const auto makeOld = [&] {
    // Old: 10 rows, some of it in the WAL still, and a table the backup has not.
    client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10"_qs);
    client_.Run(u"CREATE TABLE dbo.OTRA (Codigo INTEGER DEFAULT 0)"_qs);
    client_.Run(u"USE master"_qs);
    ASSERT_FALSE(ConnectionIsOpen(file));
  };
  // What another program reads: "old", "empty", "restored", or what else.
  const auto othersRead = [&] {
    OtherProgramsFile other(file);
    const qint64 tables = other.Number("SELECT count(*) FROM sqlite_master WHERE type = 'table'");
    const qint64 rows = other.Number("SELECT count(*) FROM CLIENTES");
    char* failure = nullptr;
    const bool whole = sqlite3_exec(other.Handle(), "PRAGMA integrity_check", nullptr, nullptr, &failure) == SQLITE_OK;
    sqlite3_free(failure);
    if (whole && tables == 2 && rows == 10) return u"old"_qs;
    if (whole && tables == 0) return u"empty"_qs;
    if (whole && tables == 1 && rows == 2000) return u"restored"_qs;
    return u"%1 tables, %2 rows, %3"_qs.arg(tables).arg(rows).arg(whole ? u"whole"_qs : u"damaged"_qs);
  };
  const QStringList states = {u"old"_qs, u"empty"_qs, u"restored"_qs};

  makeOld();
  const int steps = StepsInPlace(RestoreStatement(Backup()));
  ASSERT_GE(steps, 5) << "restored in place";
  EXPECT_EQ(Count(), Rows({{"2000"}}));

  for (int step = 1; step <= steps; ++step) {
    SCOPED_TRACE(testing::Message() << "killed at " << step);
    makeOld();
    SecondProcess restoring(u"killed-at-step"_qs,
                            {{kFolder, folder_.Path()}, {kKillAt, QString::number(step)}, {kStatement, restore}});
    restoring.Finish();
    ASSERT_TRUE(restoring.Crashed());
    EXPECT_TRUE(states.contains(othersRead())) << othersRead().toStdString();
    if (step % 2 == 0) {
      SecondProcess finishing(u"killed-at-step"_qs,
                              {{kFolder, folder_.Path()}, {kKillAt, u"2"_qs}, {kStatement, u"USE EMP1"_qs}});
      finishing.Finish();
      EXPECT_TRUE(states.contains(othersRead())) << othersRead().toStdString();
    }
    const bool restored = step > 1;
    // A backup taken now is of the database as the next session finds it.
    if (step % 2 == 1) {
      const QString again = folder_.File(u"otra.bak"_qs);
      EXPECT_EQ(client_.Error(u"BACKUP DATABASE EMP1  TO DISK = '"_qs + again + u"'  WITH FORMAT"_qs), QString());
      EXPECT_EQ(client_.Error(u"RESTORE DATABASE EMP2  FROM DISK = '"_qs + again + u"'"_qs), QString());
      EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM EMP2.dbo.CLIENTES"_qs), Rows({{restored ? "2000" : "10"}}));
      client_.Run(u"DROP DATABASE EMP2"_qs);
      QFile::remove(again);
    }
    EXPECT_EQ(Count(), Rows({{restored ? "2000" : "10"}}));
    EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM sysobjects WHERE name = 'OTRA'"_qs),
              Rows({{restored ? "0" : "1"}}));
    client_.Run(u"USE master"_qs);
    EXPECT_EQ(OtherFiles(), QStringList{kBackupName});
    for (const QString& side : RestoreSideFiles(file)) EXPECT_FALSE(QFileInfo::exists(side)) << side.toStdString();
    if (!restored) client_.Run(u"USE EMP1 DROP TABLE OTRA USE master"_qs);
  }
}

// A connection of this process that read the database before an in-place
// restore reads the restored one after it: its pages and its schema.
TEST_F(BackupFiles, AConnectionThatReadTheDatabaseBeforeAnInPlaceRestoreReadsTheRestoredOne) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10"_qs);
  client_.Run(u"CREATE TABLE dbo.OTRA (Codigo INTEGER DEFAULT 0)"_qs);
  client_.Run(u"USE master"_qs);
  const std::shared_ptr<Connection> held = OpenConnection(client_.Server().DatabaseFile(u"EMP1"_qs));
  EXPECT_EQ(held->QueryRows(u"SELECT count(*) FROM CLIENTES"_qs).rows[0][0].toInt(), 10);
  EXPECT_GE(StepsInPlace(RestoreStatement(Backup())), 5) << "restored in place";
  EXPECT_EQ(held->QueryRows(u"SELECT count(*) FROM CLIENTES"_qs).rows[0][0].toInt(), 2000);
  EXPECT_FALSE(held->TableExists(u"OTRA"_qs));
  EXPECT_EQ(held->QueryRows(u"PRAGMA integrity_check"_qs).rows[0][0].toString(), u"ok"_qs);
  EXPECT_EQ(held->QueryRows(u"PRAGMA journal_mode"_qs).rows[0][0].toString(), u"wal"_qs);
  // Written again through it, as any database.
  held->Execute(u"UPDATE CLIENTES SET Nombre = 'después' WHERE Codigo = 1"_qs);
  EXPECT_EQ(client_.Texts(u"USE EMP1 SELECT Nombre FROM CLIENTES WHERE Codigo = 1"_qs), Rows({{"después"}}));
}

// A backup on another file system cannot be linked beside the database: it
// is restored through the database's WAL, and nothing is left beside it.
TEST_F(BackupFiles, ABackupOnAnotherFileSystemIsRestoredThroughTheWal) {
  struct stat here {};
  struct stat there {};
  const QString elsewhere = u"/dev/shm"_qs;
  if (::stat(QFile::encodeName(folder_.Path()).constData(), &here) != 0 ||
      ::stat(QFile::encodeName(elsewhere).constData(), &there) != 0 || here.st_dev == there.st_dev)
    GTEST_SKIP() << "no other file system to write to";
  const QString backup = elsewhere + u"/zem-%1.bak"_qs.arg(::getpid());
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + backup + u"'  WITH FORMAT"_qs);
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10"_qs);
  client_.Run(u"USE master"_qs);
  EXPECT_EQ(StepsInPlace(RestoreStatement(backup)), 0);
  QFile::remove(backup);
  EXPECT_EQ(Count(), Rows({{"2000"}}));
  for (const QString& side : RestoreSideFiles(client_.Server().DatabaseFile(u"EMP1"_qs)))
    EXPECT_FALSE(QFileInfo::exists(side)) << side.toStdString();
}

namespace {

// Rebuilds a database file with that page size and that many bytes kept at
// the end of each page, filled with that many rows.
void Rebuild(const QString& file, int pageSize, int reserved, int rows, const QByteArray& name) {
  OtherProgramsFile database(file);
  ASSERT_EQ(database.Run("PRAGMA journal_mode = DELETE"), SQLITE_OK);
  ASSERT_EQ(database.Run("PRAGMA page_size = " + QByteArray::number(pageSize)), SQLITE_OK);
  int reserve = reserved;
  ASSERT_EQ(sqlite3_file_control(database.Handle(), "main", SQLITE_FCNTL_RESERVE_BYTES, &reserve), SQLITE_OK);
  ASSERT_EQ(database.Run("DROP TABLE IF EXISTS CLIENTES; VACUUM"), SQLITE_OK);
  ASSERT_EQ(database.Run("CREATE TABLE CLIENTES (Codigo INTEGER PRIMARY KEY, Nombre TEXT); "
                         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                         QByteArray::number(rows) + ") INSERT INTO CLIENTES SELECT i, '" + name +
                         "' || printf('%0200d', i) FROM n"),
            SQLITE_OK);
  ASSERT_EQ(database.Run("PRAGMA journal_mode = WAL"), SQLITE_OK);
  ASSERT_EQ(database.Number("PRAGMA page_size"), pageSize);
}

}  // namespace

// A backup of another page size, or with bytes kept at the end of each page,
// restored in place over the database: the connection that had read it
// before, and another program that had opened it but not read, read the
// restored one whole and write into it, and each reads the other's writes.
TEST_F(BackupFiles, ABackupOfAnotherPageSizeIsRestoredInPlaceAndReadEverywhere) {
  const QString file = client_.Server().DatabaseFile(u"EMP1"_qs);
  client_.Run(u"CREATE DATABASE EMP2"_qs);
  const QString source = client_.Server().DatabaseFile(u"EMP2"_qs);
  const struct {
    int databasePage, databaseReserved, backupPage, backupReserved;
  } cases[] = {{4096, 0, 8192, 0}, {4096, 0, 65536, 0}, {4096, 0, 4096, 8}, {8192, 0, 4096, 0},
               {65536, 0, 1024, 0}, {4096, 12, 512, 0}, {1024, 0, 65536, 32}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.databasePage << "/" << c.databaseReserved << " from " << c.backupPage << "/"
                                    << c.backupReserved);
    client_.Run(u"USE master"_qs);
    Rebuild(file, c.databasePage, c.databaseReserved, 500, "viejo");
    Rebuild(source, c.backupPage, c.backupReserved, 3000, "nuevo");
    QFile::remove(Backup());
    ASSERT_EQ(client_.Error(u"BACKUP DATABASE EMP2  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs), QString());
    SecondProcess other(u"other-program"_qs, {{kFile, file}});
    ASSERT_EQ(other.ReadReport(), u"started"_qs);
    {
      const std::shared_ptr<Connection> held = OpenConnection(file);
      EXPECT_EQ(held->QueryRows(u"SELECT count(*) FROM CLIENTES"_qs).rows[0][0].toInt(), 500);
      EXPECT_GE(StepsInPlace(RestoreStatement(Backup())), 5) << "restored in place";
      EXPECT_EQ(held->QueryRows(u"PRAGMA page_size"_qs).rows[0][0].toInt(), c.backupPage);
      EXPECT_EQ(held->QueryRows(u"SELECT count(*), min(Nombre) FROM CLIENTES"_qs).rows[0],
                QVariantList({3000, u"nuevo"_qs + QString(199, u'0') + u"1"_qs}));
      EXPECT_EQ(held->QueryRows(u"PRAGMA integrity_check"_qs).rows[0][0].toString(), u"ok"_qs);
      held->Execute(u"INSERT INTO CLIENTES VALUES (5001, 'aqui')"_qs);
      other.Send(u"SELECT count(*), max(Codigo) FROM CLIENTES"_qs);
      EXPECT_EQ(other.ReadReport(), u"3001,5001"_qs);
      other.Send(u"PRAGMA integrity_check"_qs);
      EXPECT_EQ(other.ReadReport(), u"ok"_qs);
      other.Send(u"INSERT INTO CLIENTES VALUES (5002, 'alli')"_qs);
      EXPECT_EQ(other.ReadReport(), QString());
      EXPECT_EQ(held->QueryRows(u"SELECT count(*), max(Codigo) FROM CLIENTES"_qs).rows[0], QVariantList({3002, 5002}));
      other.Send(u"PRAGMA journal_mode"_qs);
      EXPECT_EQ(other.ReadReport(), u"wal"_qs);
    }
    other.Finish();
    EXPECT_EQ(client_.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES"_qs), Rows({{"3002"}}));
  }
}

// A backup of another page size that cannot be restored in place (on
// another file system, or the database held by another program) is restored
// where the database can be had alone, and refused with the database kept
// while another program holds it.
TEST_F(BackupFiles, ABackupOfAnotherPageSizeIsRestoredOutOfTheWalWhereTheDatabaseIsFree) {
  const QString file = client_.Server().DatabaseFile(u"EMP1"_qs);
  client_.Run(u"CREATE DATABASE EMP2"_qs);
  const QString source = client_.Server().DatabaseFile(u"EMP2"_qs);
  struct stat here {};
  struct stat there {};
  const bool otherFileSystem = ::stat(QFile::encodeName(folder_.Path()).constData(), &here) == 0 &&
                               ::stat("/dev/shm", &there) == 0 && here.st_dev != there.st_dev;
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held);
    if (!held && !otherFileSystem) continue;
    const QString backup = held ? Backup() : u"/dev/shm/zem-%1.bak"_qs.arg(::getpid());
    client_.Run(u"USE master"_qs);
    Rebuild(file, 4096, 0, 500, "viejo");
    Rebuild(source, 8192, 0, 3000, "nuevo");
    QFile::remove(backup);
    ASSERT_EQ(client_.Error(u"BACKUP DATABASE EMP2  TO DISK = '"_qs + backup + u"'  WITH FORMAT"_qs), QString());
    const QString restore = RestoreStatement(backup);
    SecondProcess other(u"other-program"_qs, {{kFile, file}});
    ASSERT_EQ(other.ReadReport(), u"started"_qs);
    if (held) {
      other.Send(u"SELECT count(*) FROM CLIENTES"_qs);
      EXPECT_EQ(other.ReadReport(), u"500"_qs);
      EXPECT_EQ(client_.Error(restore),
                Terminating(u"Exclusive access could not be obtained because the database is in use."_qs,
                            "RESTORE DATABASE"));
      other.Send(u"SELECT count(*) FROM CLIENTES"_qs);
      EXPECT_EQ(other.ReadReport(), u"500"_qs);
      other.Finish();
      EXPECT_EQ(client_.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES"_qs), Rows({{"500"}}));
      continue;
    }
    EXPECT_EQ(client_.Error(restore), QString());
    QFile::remove(backup);
    other.Send(u"SELECT count(*), min(Codigo) FROM CLIENTES"_qs);
    EXPECT_EQ(other.ReadReport(), u"3000,1"_qs);
    other.Send(u"PRAGMA page_size"_qs);
    EXPECT_EQ(other.ReadReport(), u"8192"_qs);
    other.Finish();
    EXPECT_EQ(client_.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES"_qs), Rows({{"3000"}}));
    EXPECT_EQ(client_.Texts(u"SELECT journal_mode FROM pragma_journal_mode"_qs), Rows({{"wal"}}));
    EXPECT_EQ(client_.Texts(u"SELECT integrity_check FROM pragma_integrity_check"_qs), Rows({{"ok"}}));
    for (const QString& side : RestoreSideFiles(file) + QStringList{file + u"-journal"_qs})
      EXPECT_FALSE(QFileInfo::exists(side)) << side.toStdString();
  }
}

// While another program reads the database over and over, each time anew,
// restores in place or through the WAL, one after the other from a backup
// of the old database and from one of another, never let it read a mix of
// the two, nor fail.
TEST_F(BackupFiles, AnotherProgramReadingDuringRestoresReadsTheOldDatabaseOrTheRestoredOne) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QString old = folder_.File(u"antes.bak"_qs);
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10 UPDATE CLIENTES SET Nombre = 'antes'"_qs);
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + old + u"'  WITH FORMAT"_qs);
  const QString stop = folder_.File(u"parar"_qs);
  SecondProcess reading(u"reading-states"_qs, {{kFile, client_.Server().DatabaseFile(u"EMP1"_qs)}, {kStopFile, stop}});
  ASSERT_EQ(reading.ReadReport(), u"started"_qs);
  int inPlace = 0;
  for (int restore = 0; restore < 40; ++restore) {
    inPlace += StepsInPlace(RestoreStatement(restore % 2 ? old : Backup())) > 0;
  }
  WriteBytes(stop, "1");
  QStringList wrong;
  QString last;
  while (!(last = reading.ReadReport()).endsWith(u" restored"_qs) || last.contains(u"rows"_qs)) wrong << last;
  EXPECT_EQ(wrong, QStringList());
  reading.Finish();
  EXPECT_GT(inPlace, 0);
}

// What the database's connection holds besides the database, its temporary
// tables and a file attached to it, stays through a restore in place, and
// the connection reads and writes the restored database.
TEST_F(BackupFiles, AnInPlaceRestoreKeepsWhatTheConnectionHoldsBesidesTheDatabase) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10"_qs);
  client_.Run(u"USE master"_qs);
  const std::shared_ptr<Connection> held = OpenConnection(client_.Server().DatabaseFile(u"EMP1"_qs));
  const QByteArray attached = QFile::encodeName(folder_.File(u"aparte.db"_qs));
  ASSERT_EQ(sqlite3_exec(held->Handle(), "ATTACH '" + attached + "' AS aparte", nullptr, nullptr, nullptr), SQLITE_OK);
  held->Execute(u"CREATE TABLE aparte.notas (texto TEXT); INSERT INTO aparte.notas VALUES ('fuera')"_qs);
  held->Execute(u"CREATE TEMP TABLE recuerdo (texto TEXT); INSERT INTO recuerdo VALUES ('temporal')"_qs);
  EXPECT_EQ(held->QueryRows(u"SELECT count(*) FROM CLIENTES"_qs).rows[0][0].toInt(), 10);
  EXPECT_GE(StepsInPlace(RestoreStatement(Backup())), 5) << "restored in place";
  EXPECT_EQ(held->QueryRows(u"SELECT (SELECT count(*) FROM CLIENTES), (SELECT texto FROM recuerdo), "
                            "(SELECT texto FROM aparte.notas)"_qs)
                .rows[0],
            QVariantList({2000, u"temporal"_qs, u"fuera"_qs}));
  held->Execute(u"INSERT INTO recuerdo SELECT Nombre FROM CLIENTES WHERE Codigo = 1; "
                "UPDATE CLIENTES SET Nombre = 'después' WHERE Codigo = 1; INSERT INTO aparte.notas VALUES ('otra')"_qs);
  EXPECT_EQ(held->QueryRows(u"SELECT integrity_check FROM pragma_integrity_check"_qs).rows[0][0].toString(), u"ok"_qs);
  EXPECT_EQ(held->QueryRows(u"PRAGMA main.journal_mode"_qs).rows[0][0].toString(), u"wal"_qs);
  OtherProgramsFile other(client_.Server().DatabaseFile(u"EMP1"_qs));
  EXPECT_EQ(other.Number("SELECT count(*) FROM CLIENTES WHERE Nombre COLLATE BINARY = 'después'"), 1);
}

// A restore in place whose writes fail midway (the file cannot grow) leaves
// the database to be restored by the next session that can, refused until
// then; no program reads a mix meanwhile.
TEST_F(BackupFiles, ARestoreWhoseWritesFailIsFinishedByTheNextSessionThatCan) {
  client_.Run(u"USE EMP1 INSERT INTO CLIENTES (Codigo, Nombre) SELECT Codigo + 2000 * n.i, Nombre FROM CLIENTES, "
              "(SELECT 1 AS i UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 UNION ALL SELECT 5) n"_qs);
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  ASSERT_GT(QFileInfo(Backup()).size(), 2 << 20);
  client_.Run(u"USE master"_qs);
  const QString file = client_.Server().DatabaseFile(u"EMP1"_qs);
  Rebuild(file, 4096, 0, 10, "viejo");
  ASSERT_LT(QFileInfo(file).size(), 1 << 20);
  SecondProcess limited(u"restore-limited"_qs, {{kFolder, folder_.Path()}});
  const QString restore = limited.ReadReport();
  EXPECT_TRUE(restore.endsWith(u"RESTORE DATABASE is terminating abnormally."_qs)) << restore.toStdString();
  EXPECT_EQ(limited.ReadReport(), u"Database 'EMP1' cannot be opened. It is in the middle of a restore."_qs);
  EXPECT_EQ(limited.Finish(), 0);
  {
    OtherProgramsFile other(file);
    const qint64 rows = other.Number("SELECT count(*) FROM CLIENTES");
    EXPECT_TRUE(rows == 10 || rows == 12000 || other.Number("SELECT count(*) FROM sqlite_master") == 0) << rows;
  }
  EXPECT_EQ(Count(), Rows({{"12000"}}));
  EXPECT_EQ(client_.Texts(u"SELECT integrity_check FROM pragma_integrity_check"_qs), Rows({{"ok"}}));
  client_.Run(u"USE master"_qs);
  for (const QString& side : RestoreSideFiles(file)) EXPECT_FALSE(QFileInfo::exists(side)) << side.toStdString();
}

// A database whose restore in place was cut short is restored from a backup
// on another file system, through SQLite: whole, in WAL mode again, nothing
// left beside it.
TEST_F(BackupFiles, ARestoreCutShortIsReplacedByOneFromAnotherFileSystem) {
  struct stat here {};
  struct stat there {};
  if (::stat(QFile::encodeName(folder_.Path()).constData(), &here) != 0 || ::stat("/dev/shm", &there) != 0 ||
      here.st_dev == there.st_dev)
    GTEST_SKIP() << "no other file system to write to";
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QString elsewhere = u"/dev/shm/zem-%1.bak"_qs.arg(::getpid());
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 5"_qs);
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + elsewhere + u"'  WITH FORMAT"_qs);
  const QString file = client_.Server().DatabaseFile(u"EMP1"_qs);
  for (const int killAt : {2, 3, 4}) {
    SCOPED_TRACE(killAt);
    client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 2 USE master"_qs);
    SecondProcess restoring(u"killed-at-step"_qs,
                            {{kFolder, folder_.Path()},
                             {kKillAt, QString::number(killAt)},
                             {kStatement, RestoreStatement(Backup())}});
    restoring.Finish();
    ASSERT_TRUE(restoring.Crashed());
    ASSERT_TRUE(RestoreCutShort(file));
    EXPECT_EQ(client_.Error(RestoreStatement(elsewhere)), QString());
    for (const QString& side : RestoreSideFiles(file)) EXPECT_FALSE(QFileInfo::exists(side)) << side.toStdString();
    EXPECT_EQ(Count(), Rows({{"5"}}));
    EXPECT_EQ(client_.Texts(u"SELECT integrity_check FROM pragma_integrity_check"_qs), Rows({{"ok"}}));
    EXPECT_EQ(client_.Texts(u"SELECT journal_mode FROM pragma_journal_mode"_qs), Rows({{"wal"}}));
    client_.Run(u"USE master"_qs);
  }
  QFile::remove(elsewhere);
}

// A BACKUP that comes to finish a restore cut short while a session finishes
// it first finds it finished: it backs up the database as the session left
// it, and what was written into it since stays.
TEST_F(BackupFiles, ARestoreCutShortIsFinishedOnceWhenABackupAndASessionComeToItTogether) {
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10 USE master"_qs);
  const QString restore = RestoreStatement(Backup());
  SecondProcess killed(u"killed-at-step"_qs, {{kFolder, folder_.Path()}, {kKillAt, u"3"_qs}, {kStatement, restore}});
  killed.Finish();
  ASSERT_TRUE(killed.Crashed());
  const QString again = folder_.File(u"otra.bak"_qs);
  SecondProcess backingUp(u"paused-at-step"_qs,
                          {{kFolder, folder_.Path()},
                           {kKillAt, u"1"_qs},
                           {kStatement, u"BACKUP DATABASE EMP1  TO DISK = '"_qs + again + u"'  WITH FORMAT"_qs}});
  ASSERT_EQ(backingUp.ReadReport(), u"paused"_qs);
  client_.Run(u"USE EMP1 INSERT INTO CLIENTES (Codigo, Nombre) VALUES (5000, 'después') USE master"_qs);
  backingUp.Send(u"go"_qs);
  EXPECT_EQ(backingUp.ReadReport(), QString());
  backingUp.Finish();
  EXPECT_EQ(Count(), Rows({{"2001"}}));
  EXPECT_EQ(client_.Error(u"RESTORE DATABASE EMP2  FROM DISK = '"_qs + again + u"'"_qs), QString());
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM EMP2.dbo.CLIENTES"_qs), Rows({{"2001"}}));
}

// A backup named through a symbolic link, relative to its own folder, is
// restored in place from the file it leads to; cut short, the restore is
// finished from that file though the link leads elsewhere since.
TEST_F(BackupFiles, ABackupNamedThroughASymbolicLinkIsRestoredFromTheFileItLeadsTo) {
  ASSERT_TRUE(QDir(folder_.Path()).mkdir(u"copias"_qs));
  const QString real = folder_.File(u"copias/real.bak"_qs);
  const QString link = folder_.File(u"copias/enlace.bak"_qs);
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + real + u"'  WITH FORMAT"_qs);
  ASSERT_EQ(::symlink("real.bak", QFile::encodeName(link).constData()), 0);
  const QString restore = RestoreStatement(link);
  client_.Run(u"USE EMP1 DELETE FROM CLIENTES WHERE Codigo > 10 USE master"_qs);
  EXPECT_GE(StepsInPlace(restore), 5) << "restored in place";
  EXPECT_EQ(Count(), Rows({{"2000"}}));

  client_.Run(u"DELETE FROM CLIENTES WHERE Codigo > 10 USE master"_qs);
  SecondProcess killed(u"killed-at-step"_qs, {{kFolder, folder_.Path()}, {kKillAt, u"3"_qs}, {kStatement, restore}});
  killed.Finish();
  ASSERT_TRUE(killed.Crashed());
  ASSERT_TRUE(QFile::rename(real, folder_.File(u"copias/movida.bak"_qs)));
  EXPECT_EQ(Count(), Rows({{"2000"}}));
}

// The server's own files are no backup device: a BACKUP into one of them
// (a database's file, what lies beside it, the names a restore puts there)
// is refused, and neither the database nor another one takes it for a
// restore cut short; a RESTORE from one of them is refused with every file
// left as it was.
TEST_F(BackupFiles, TheServersOwnFilesAreNoBackupDevice) {
  client_.Run(u"CREATE DATABASE EMP2"_qs);
  client_.Run(u"USE EMP2 CREATE TABLE dbo.OTRA (Codigo INTEGER DEFAULT 0) INSERT INTO OTRA (Codigo) VALUES (7)"_qs);
  client_.Run(u"USE master BACKUP DATABASE EMP1  TO DISK = '"_qs + Backup() + u"'  WITH FORMAT"_qs);
  const QString emp1 = client_.Server().DatabaseFile(u"EMP1"_qs);
  const QString emp2 = client_.Server().DatabaseFile(u"EMP2"_qs);
  QStringList devices;
  for (const QString& file : {emp1, emp2})
    devices << file << file + u"-wal"_qs << file + u"-shm"_qs << file + u"-journal"_qs << RestoreSideFiles(file);
  for (const QString& device : devices) {
    SCOPED_TRACE(device.toStdString());
    client_.Run(u"USE master"_qs);
    const QString denied = u"Cannot open backup device '"_qs + device + u"'. Operating system error 5(Access is denied.)."_qs;
    EXPECT_EQ(client_.Error(u"BACKUP DATABASE EMP1  TO DISK = '"_qs + device + u"'  WITH FORMAT"_qs),
              Terminating(denied, "BACKUP DATABASE"));
    for (const QString& side : RestoreSideFiles(emp1) + RestoreSideFiles(emp2)) EXPECT_FALSE(QFileInfo::exists(side));
    // One planted there by another program is not restored from.
    const bool planted = !QFileInfo::exists(device);
    if (planted) {
      ASSERT_TRUE(QFile::copy(Backup(), device));
    }
    const QByteArray before = Bytes(device);
    EXPECT_EQ(client_.Error(u"RESTORE DATABASE EMP2  FROM DISK = '"_qs + device + u"'WITH REPLACE"_qs),
              Terminating(denied, "RESTORE DATABASE"));
    EXPECT_EQ(Bytes(device), before);
    if (planted) QFile::remove(device);
    EXPECT_EQ(client_.Texts(u"USE EMP2 SELECT Codigo FROM OTRA"_qs), Rows({{"7"}}));
    EXPECT_EQ(Count(), Rows({{"2000"}}));
  }
}
