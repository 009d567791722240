#include "platform/sql/EmbeddedServer.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <QFile>

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

// Job "three-part-writer": a session on ZEMG that writes into ZEM1.dbo.T by
// its three-part name in a transaction, committed when told; it reports
// what the commit answered and what ZEM1.dbo.T then holds.
void writeThroughThreePartName() {
  ServerClient client(qEnvironmentVariable(kServerFolder));
  client.Run(u"USE ZEMG"_qs);
  client.Run(u"SELECT COUNT(*) FROM ZEM1.dbo.T"_qs);
  client.Run(u"BEGIN TRANSACTION"_qs);
  client.Run(u"INSERT INTO ZEM1.dbo.T (C) VALUES (7)"_qs);
  SecondProcess::Report(u"holding"_qs);
  SecondProcess::NextLine();
  SecondProcess::Report(client.Error(u"COMMIT TRANSACTION"_qs));
  QStringList values;
  for (const QStringList& row : client.Texts(u"SELECT C FROM ZEM1.dbo.T ORDER BY C"_qs)) values << row;
  SecondProcess::Report(values.join(u','));
  SecondProcess::NextLine();
}

[[maybe_unused]] const bool writerRegistered = SecondProcess::RegisterJob(u"three-part-writer"_qs, writeThroughThreePartName);

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

// A program on another database that holds ZEM1 by a three-part name, in a
// transaction, keeps it from DROP DATABASE ("delete company") and from a
// restore: nothing of it changes, and its commit lands.
TEST_F(Sessions, ADatabaseHeldByAThreePartNameIsNeitherDroppedNorRestoredOver) {
  client_.Run(u"USE ZEM1 CREATE TABLE T (C INTEGER)"_qs);
  client_.Run(u"INSERT INTO T (C) VALUES (1)"_qs);
  const QString backup = folder_.File("ZEM1.bak");
  client_.Run(u"BACKUP DATABASE ZEM1  TO DISK = '"_qs + backup + u"'  WITH FORMAT"_qs);
  client_.Run(u"USE master"_qs);
  struct Case {
    QString batch;
    QString refusal;
  };
  const Case cases[] = {
      {u"USE master DROP DATABASE ZEM1"_qs, u"Cannot drop database \"ZEM1\" because it is currently in use."_qs},
      {u"RESTORE DATABASE ZEM1  FROM DISK = '"_qs + backup + u"'WITH REPLACE"_qs,
       u"Exclusive access could not be obtained because the database is in use.\n"
       "RESTORE DATABASE is terminating abnormally."_qs},
  };
  QStringList landed = {u"1"_qs};
  for (const Case& refused : cases) {
    SecondProcess writer(u"three-part-writer"_qs, {{kServerFolder, folder_.Path()}});
    ASSERT_EQ(writer.ReadReport(), u"holding"_qs);
    EXPECT_EQ(client_.Error(refused.batch), refused.refusal);
    EXPECT_TRUE(QFile::exists(client_.Server().DatabaseFile(u"ZEM1"_qs)));
    writer.Send(u"commit"_qs);
    EXPECT_EQ(writer.ReadReport(), QString());
    landed << u"7"_qs;
    EXPECT_EQ(writer.ReadReport(), landed.join(u','));
    EXPECT_EQ(writer.Finish(), 0);
    EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM ZEM1.dbo.T WHERE C = 7"_qs),
              Rows({{QString::number(landed.size() - 1)}}));
  }
  // Once the other program has gone, its hold has gone with it.
  EXPECT_EQ(client_.Error(cases[0].batch), QString());
}

}  // namespace
