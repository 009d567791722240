#include "platform/sql/ProcessIdentity.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <csignal>
#include <memory>

#include <sys/resource.h>

namespace {

using Rows = QList<QStringList>;

constexpr char kFolder[] = "ZEM_BACKUP_FOLDER";
constexpr char kSignal[] = "ZEM_BACKUP_SIGNAL";  // "ignore": a write past the limit fails instead of killing
constexpr rlim_t kFileLimit = 64 * 1024;
const QString kBackupName = u"dbb_EMP1_20240131154500.bak"_qs;

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
  SecondProcess::Report(client.Error(u"RESTORE DATABASE EMP1  FROM DISK = '"_qs + QDir(folder).filePath(kBackupName) +
                                     u"'WITH REPLACE"_qs).replace(u'\n', u'|'));
}

[[maybe_unused]] const bool restoreRegistered = SecondProcess::RegisterJob(u"restore-waiting"_qs, restoreWaiting);

// A file opened apart from the process's own connections, as another
// program would.
class OtherProgramsFile {
 public:
  explicit OtherProgramsFile(const QString& file) { sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr); }
  ~OtherProgramsFile() { sqlite3_close_v2(db_); }
  OtherProgramsFile(const OtherProgramsFile&) = delete;
  OtherProgramsFile& operator=(const OtherProgramsFile&) = delete;
  int Run(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
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
  QString Restore() { return client_.Error(u"RESTORE DATABASE EMP1  FROM DISK = '"_qs + Backup() + u"'WITH REPLACE"_qs); }
  Rows Count() { return client_.Texts(u"USE EMP1 SELECT COUNT(*) FROM CLIENTES"_qs); }
  // The files of the folder besides the server's own databases.
  QStringList OtherFiles() const {
    QStringList files = QDir(folder_.Path()).entryList(QDir::Files);
    files.removeIf([](const QString& file) { return file.contains(u".sqlite"_qs); });
    return files;
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
  QFile whole(Backup());
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray backup = whole.readAll();
  whole.close();
  ASSERT_GT(backup.size(), 8192);
  EXPECT_EQ(OtherFiles(), QStringList{kBackupName});

  const QString refused = Terminating(u"The media family on device '"_qs + Backup() +
                                          u"' is incorrectly formed. SQL Server cannot process this media family."_qs,
                                      "RESTORE DATABASE");
  // Cut right after it was opened, at a page's end, in the middle of a page; a page spoilt; a page and a
  // byte added at its end.
  QByteArray spoilt = backup;
  spoilt.replace(backup.size() - 4096, 4096, QByteArray(4096, '\xff'));
  const QByteArray cuts[] = {QByteArray(), backup.left(4096), backup.left(backup.size() / 2 / 4096 * 4096),
                             backup.left(backup.size() - 100), backup.left(50), spoilt,
                             backup + QByteArray(4096, '\0'), backup + '\n'};
  for (const QByteArray& cut : cuts) {
    QFile file(Backup());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(cut), cut.size());
    file.close();
    client_.Run(u"USE master"_qs);
    EXPECT_EQ(Restore(), refused) << cut.size();
    EXPECT_EQ(Count(), Rows({{"2000"}})) << cut.size();
  }
  EXPECT_EQ(OtherFiles(), QStringList{kBackupName});
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
