#include "platform/sql/EmbeddedServer.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <gtest/gtest.h>

namespace {

using Rows = QList<QStringList>;

constexpr char kServerFolder[] = "ZEM_SQL_SERVER_FOLDER";

const QString kCountSessions =
    u"SELECT COUNT(DISTINCT P.hostprocess + P.nt_username)   FROM master.dbo.sysprocesses P   JOIN "
    "master.dbo.sysdatabases D     ON D.dbid = P.dbid   WHERE P.nt_username <> ''    AND (D.name = 'ZEMG'         "
    "OR D.name LIKE 'ZEM%')"_qs;
const QString kConnectedUsers =
    u"SELECT DISTINCT nt_username   FROM master.dbo.sysprocesses   WHERE nt_username <> ''  ORDER BY nt_username"_qs;

// Job "sql-session" of a second running instance: a session on the embedded
// server in ZEM_SQL_SERVER_FOLDER, held until its input closes.
void holdSession() {
  EmbeddedServer server(qEnvironmentVariable(kServerFolder));
  server.Connect(u"sa"_qs, QString());
  const std::unique_ptr<ServerSession> session =
      server.OpenSession({u"sa"_qs, u"ZEM1"_qs, u"otro"_qs, u"equipo2"_qs, u"ZEMWIN.EXE"_qs});
  SecondProcess::Report(u"ready"_qs);
  SecondProcess::NextLine();
}

[[maybe_unused]] const bool registered = SecondProcess::RegisterJob(u"sql-session"_qs, holdSession);

class Sessions : public ::testing::Test {
 protected:
  Sessions() : client_(folder_.Path()) {
    client_.Run(u"CREATE DATABASE ZEMG"_qs);
    client_.Run(u"CREATE DATABASE ZEM1"_qs);
    client_.Run(u"USE ZEMG"_qs);
  }

  // Another instance with its session open.
  std::unique_ptr<SecondProcess> StartSecondInstance() {
    auto second = std::make_unique<SecondProcess>(u"sql-session"_qs,
                                                  QMap<QString, QString>{{kServerFolder, folder_.Path()}});
    EXPECT_EQ(second->ReadReport(), u"ready"_qs);
    return second;
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

// An instance that ends normally is checked with the program's own count.
TEST_F(Sessions, CountsTheRunningInstancesButNotACrashedOne) {
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"1"}}));
  const auto crashed = StartSecondInstance();
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"2"}}));
  EXPECT_EQ(client_.Texts(kConnectedUsers), Rows({{"otro"}, {"usuario"}}));
  crashed->Kill();
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"1"}}));
  EXPECT_EQ(client_.Texts(kConnectedUsers), Rows({{"usuario"}}));
}

TEST_F(Sessions, KillEndsAnotherInstancesSession) {
  const auto second = StartSecondInstance();
  const Rows spid = client_.Texts(u"SELECT spid FROM master.dbo.sysprocesses WHERE nt_username = 'otro'"_qs);
  ASSERT_EQ(spid.size(), 1);
  client_.Run(u"KILL "_qs + spid[0][0]);
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"1"}}));
  // A database another instance uses cannot be dropped or restored over.
  client_.Run(u"USE master"_qs);
  const auto third = StartSecondInstance();
  EXPECT_EQ(client_.Error(u"DROP DATABASE ZEM1"_qs), u"Cannot drop database \"ZEM1\" because it is currently in use."_qs);
  EXPECT_EQ(third->Finish(), 0);
  EXPECT_NO_THROW(client_.Run(u"DROP DATABASE ZEM1"_qs));
  EXPECT_EQ(second->Finish(), 0);
}

TEST_F(Sessions, ADatabaseThisProgramUsesOnAnotherSessionIsNotDropped) {
  client_.Run(u"USE master"_qs);
  {
    ServerClient empresa(folder_.Path());
    empresa.Run(u"USE ZEM1"_qs);
    EXPECT_EQ(client_.Error(u"DROP DATABASE ZEM1"_qs), u"Cannot drop database \"ZEM1\" because it is currently in use."_qs);
  }
  EXPECT_NO_THROW(client_.Run(u"DROP DATABASE ZEM1"_qs));
}

// The session that runs the restore may stand on the database itself.
TEST_F(Sessions, ADatabaseAnotherInstanceUsesIsNotRestoredOver) {
  client_.Run(u"USE ZEM1 CREATE TABLE T (C INTEGER)"_qs);
  client_.Run(u"INSERT INTO T (C) VALUES (1)"_qs);
  const QString restore = u"RESTORE DATABASE ZEM1  FROM DISK = '"_qs + folder_.File("ZEM1.bak") + u"'WITH REPLACE"_qs;
  client_.Run(u"BACKUP DATABASE ZEM1  TO DISK = '"_qs + folder_.File("ZEM1.bak") + u"'  WITH FORMAT"_qs);
  client_.Run(u"INSERT INTO T (C) VALUES (2)"_qs);
  const auto second = StartSecondInstance();
  EXPECT_EQ(client_.Error(restore), u"Exclusive access could not be obtained because the database is in use.\n"
                                    "RESTORE DATABASE is terminating abnormally."_qs);
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM T"_qs), Rows({{"2"}}));
  EXPECT_EQ(second->Finish(), 0);
  client_.Run(restore);
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM T"_qs), Rows({{"1"}}));
}

// Any other session on the database keeps it from a restore, one of this
// program's own too (its company connection), as on the server: nothing of
// the database changes.
TEST_F(Sessions, ADatabaseThisProgramUsesOnAnotherSessionIsNotRestoredOver) {
  client_.Run(u"USE ZEM1 CREATE TABLE T (C INTEGER)"_qs);
  client_.Run(u"INSERT INTO T (C) VALUES (1)"_qs);
  const QString restore = u"RESTORE DATABASE ZEM1  FROM DISK = '"_qs + folder_.File("ZEM1.bak") + u"'WITH REPLACE"_qs;
  client_.Run(u"BACKUP DATABASE ZEM1  TO DISK = '"_qs + folder_.File("ZEM1.bak") + u"'  WITH FORMAT"_qs);
  client_.Run(u"INSERT INTO T (C) VALUES (2)"_qs);
  client_.Run(u"USE msdb"_qs);
  {
    ServerClient empresa(folder_.Path());
    empresa.Run(u"USE ZEM1"_qs);
    EXPECT_EQ(client_.Error(restore), u"Exclusive access could not be obtained because the database is in use.\n"
                                      "RESTORE DATABASE is terminating abnormally."_qs);
    EXPECT_EQ(empresa.Texts(u"SELECT COUNT(*) FROM T"_qs), Rows({{"2"}}));
  }
  client_.Run(restore);
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM ZEM1.dbo.T"_qs), Rows({{"1"}}));
}

}  // namespace
