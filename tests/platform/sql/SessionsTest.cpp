#include "platform/sql/EmbeddedServer.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

// A second running instance is this test program started again on the
// session holder below, which keeps a session open until its input closes.

namespace {

using Rows = QList<QStringList>;

constexpr char kHolderFolder[] = "ZEM_SQL_SESSION_FOLDER";
constexpr char kHolderTest[] = "SessionHolder.HoldsASessionUntilItsInputCloses";

const QString kCountSessions =
    u"SELECT COUNT(DISTINCT P.hostprocess + P.nt_username)   FROM master.dbo.sysprocesses P   JOIN "
    "master.dbo.sysdatabases D     ON D.dbid = P.dbid   WHERE P.nt_username <> ''    AND (D.name = 'ZEMG'         "
    "OR D.name LIKE 'ZEM%')"_qs;
const QString kConnectedUsers =
    u"SELECT DISTINCT nt_username   FROM master.dbo.sysprocesses   WHERE nt_username <> ''  ORDER BY nt_username"_qs;

TEST(SessionHolder, HoldsASessionUntilItsInputCloses) {
  const QString folder = qEnvironmentVariable(kHolderFolder);
  if (folder.isEmpty()) GTEST_SKIP() << "runs only as the second instance of the session tests";
  EmbeddedServer server(folder);
  server.Connect(u"sa"_qs, QString());
  const std::unique_ptr<ServerSession> session =
      server.OpenSession({u"sa"_qs, u"ZEM1"_qs, u"otro"_qs, u"equipo2"_qs, u"ZEMWIN.EXE"_qs});
  QFile output;
  ASSERT_TRUE(output.open(stdout, QIODevice::WriteOnly));
  output.write("READY\n");
  output.flush();
  QFile input;
  ASSERT_TRUE(input.open(stdin, QIODevice::ReadOnly));
  input.readAll();  // until the other side closes it
}

class Sessions : public ::testing::Test {
 protected:
  Sessions() : client_(folder_.Path()) {
    client_.Run(u"CREATE DATABASE ZEMG"_qs);
    client_.Run(u"CREATE DATABASE ZEM1"_qs);
    client_.Run(u"USE ZEMG"_qs);
  }

  // Starts the second instance and waits until its session is open.
  void StartSecondInstance(QProcess& process) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kHolderFolder), folder_.Path());
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationFilePath(),
                  {u"--gtest_filter="_qs + QString::fromLatin1(kHolderTest)});
    ASSERT_TRUE(process.waitForStarted());
    QByteArray seen;
    while (!seen.contains("READY\n")) {
      ASSERT_TRUE(process.waitForReadyRead(60000)) << seen.toStdString();
      seen += process.readAllStandardOutput();
    }
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

TEST_F(Sessions, CountsTheRunningInstances) {
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"1"}}));
  {
    QProcess second;
    StartSecondInstance(second);
    EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"2"}}));
    EXPECT_EQ(client_.Texts(kConnectedUsers), Rows({{"otro"}, {"usuario"}}));
    second.closeWriteChannel();
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 0);
  }
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"1"}}));
  EXPECT_EQ(client_.Texts(kConnectedUsers), Rows({{"usuario"}}));
}

TEST_F(Sessions, ACrashedInstanceIsNotCounted) {
  QProcess second;
  StartSecondInstance(second);
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"2"}}));
  second.kill();
  ASSERT_TRUE(second.waitForFinished(60000));
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"1"}}));
}

TEST_F(Sessions, KillEndsAnotherInstancesSession) {
  QProcess second;
  StartSecondInstance(second);
  const Rows spid = client_.Texts(u"SELECT spid FROM master.dbo.sysprocesses WHERE nt_username = 'otro'"_qs);
  ASSERT_EQ(spid.size(), 1);
  client_.Run(u"KILL "_qs + spid[0][0]);
  EXPECT_EQ(client_.Texts(kCountSessions), Rows({{"1"}}));
  // A database another instance uses cannot be dropped or restored over.
  client_.Run(u"USE master"_qs);
  QProcess third;
  StartSecondInstance(third);
  try {
    client_.Run(u"DROP DATABASE ZEM1"_qs);
    ADD_FAILURE() << "dropped a database in use";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.DriverMessage(), u"Cannot drop database \"ZEM1\" because it is currently in use."_qs);
  }
  third.closeWriteChannel();
  ASSERT_TRUE(third.waitForFinished(60000));
  EXPECT_NO_THROW(client_.Run(u"DROP DATABASE ZEM1"_qs));
  second.closeWriteChannel();
  ASSERT_TRUE(second.waitForFinished(60000));
}

}  // namespace
