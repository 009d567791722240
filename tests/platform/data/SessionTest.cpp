#include "platform/data/Database.h"
#include "platform/data/Session.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/data/DataFixture.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(SessionAliases, ComeFromTheEngineConfigurationAndResolveToTheServersFileOrTheDataFolder) {
  TemporaryFolder folder;
  InstallationBuilder installation(folder.Path());
  installation.EngineConfig(u"Databases\\PIPES"_qs, u"TYPE"_qs, u"MSSQL"_qs)
      .EngineConfig(u"Databases\\PIPES"_qs, u"SERVER NAME"_qs, u"np:"_qs + installation.ServerFolder())
      .EngineConfig(u"Databases\\PIPES"_qs, u"DATABASE NAME"_qs, u"Emp3"_qs)
      .EngineConfig(u"Databases\\ZEMPDX"_qs, u"TYPE"_qs, u"STANDARD"_qs)
      .EngineConfig(u"Databases\\ZEMPDX"_qs, u"PATH"_qs, installation.GeneralFolder())
      .EngineConfig(u"Databases\\REMOTO"_qs, u"TYPE"_qs, u"MSSQL"_qs)
      .EngineConfig(u"Databases\\REMOTO"_qs, u"SERVER NAME"_qs, u"SRV1"_qs)
      .EngineConfig(u"Databases\\REMOTO"_qs, u"DATABASE NAME"_qs, u"EMP"_qs);
  installation.Write();
  Session session;
  EXPECT_TRUE(session.IsAlias(u"zemgeneral"_qs));
  EXPECT_TRUE(session.GetAliasNames().contains(u"ZEMEMP"_qs));
  EXPECT_EQ(session.GetAliasDriverName(u"ZEMGENERAL"_qs), u"MSSQL"_qs);
  EXPECT_EQ(session.GetAliasParams(u"ZEMGENERAL"_qs).Values(u"DATABASE NAME"_qs), u"ZEMGENERAL"_qs);
  EXPECT_FALSE(session.IsAlias(u"NOEXISTE"_qs));
  EXPECT_EQ(EngineMessageOf([&] { session.GetAliasParams(u"NOEXISTE"_qs); }), u"Unknown database"_qs);
  const QString server = installation.ServerFolder();
  EXPECT_EQ(session.DatabaseFile(u"ZEMGENERAL"_qs), server + u"/ZEMGENERAL.sqlite"_qs);
  EXPECT_EQ(session.DatabaseFile(u"PIPES"_qs), server + u"/EMP3.sqlite"_qs);
  EXPECT_EQ(session.DatabaseFile(u"?PIPES"_qs), server + u"/EMP3.sqlite"_qs);
  EXPECT_EQ(session.DatabaseFile(u"ZEMPDX"_qs), installation.GeneralFolder() + u"/DATOS.SQLITE"_qs);
  // A folder names a data folder; the empty name is the current folder.
  EXPECT_EQ(session.DatabaseFile(installation.GeneralFolder() + u"/3"_qs),
            installation.GeneralFolder() + u"/3/DATOS.SQLITE"_qs);
  EXPECT_EQ(session.DatabaseFile(QString()), QDir::currentPath() + u"/DATOS.SQLITE"_qs);
  // Only the embedded server is reached: a real server's name is refused.
  EXPECT_EQ(EngineMessageOf([&] { session.DatabaseFile(u"REMOTO"_qs); }), u"Unknown database"_qs);
  EXPECT_EQ(EngineMessageOf([&] { session.DatabaseFile(u"NOEXISTE"_qs); }), u"Unknown database"_qs);
}

TEST(SessionAliases, AddedInMemoryHideNothingOnDisk) {
  TemporaryFolder folder;
  InstallationBuilder(folder.Path()).Write();
  Session session;
  StringList params;
  params.Add(u"SERVER NAME="_qs + folder.Path());
  params.Add(u"DATABASE NAME=ZEMEMP12"_qs);
  session.AddAlias(u"ZEMEMP12"_qs, u"MSSQL"_qs, params);
  session.AddStandardAlias(u"TEMPORAL"_qs, folder.Path(), u"PARADOX"_qs);
  EXPECT_TRUE(session.IsAlias(u"zememp12"_qs));
  EXPECT_EQ(session.DatabaseFile(u"ZEMEMP12"_qs), folder.Path() + u"/ZEMEMP12.sqlite"_qs);
  EXPECT_EQ(session.DatabaseFile(u"TEMPORAL"_qs), folder.Path() + u"/DATOS.SQLITE"_qs);
  EXPECT_EQ(Session().IsAlias(u"ZEMEMP12"_qs), false);
  EXPECT_FALSE(QFile::exists(folder.Path() + u"/ZEMEMP12.sqlite"_qs));
}

TEST(DatabaseComponent, ItsParametersOverTheAliasChooseTheFile) {
  TemporaryFolder folder;
  InstallationBuilder installation(folder.Path());
  installation.Write();
  Database database;
  database.setObjectName(u"Database"_qs);
  database.SetDatabaseName(u"ZEMEMP"_qs);
  database.SetAliasName(u"ZEMEMP"_qs);
  database.Params().Add(u"DATABASE NAME=zememp4"_qs);
  EXPECT_EQ(database.FileName(), installation.ServerFolder() + u"/ZEMEMP4.sqlite"_qs);
  // Datasets naming the component reach its connection.
  EXPECT_EQ(Session::Default().DatabaseFile(u"zemEmp"_qs), database.FileName());
  database.Open();
  EXPECT_TRUE(database.Connected());
  EXPECT_EQ(Session::Default().OpenDatabase(u"ZEMEMP"_qs).get(), database.SharedConnection().get());
  EXPECT_EQ(EngineMessageOf([&] { database.SetDatabaseName(u"OTRA"_qs); }),
            u"Cannot perform this operation on an open dataset"_qs);
  database.StartTransaction();
  EXPECT_TRUE(database.InTransaction());
  database.Execute(u"CREATE TABLE T (A INT)"_qs);
  database.Commit();
  EXPECT_EQ(database.GetTableNames(), QStringList{u"T"_qs});
  database.Close();
  EXPECT_FALSE(database.Connected());
}

TEST(SessionNumbers, TwoInstancesOfOneUserGetDifferentNumbers) {
  TemporaryFolder folder;
  Session first, second;
  first.SetNetFileDir(folder.Path());
  second.SetNetFileDir(folder.Path());
  first.SetNetUserName(u"ana"_qs);
  second.SetNetUserName(u"ana"_qs);
  EXPECT_EQ(first.SessionNumber(), 1);
  EXPECT_EQ(second.SessionNumber(), 2);
  EXPECT_EQ(first.SessionNumber(), 1);
  const QList<Session::User> users = first.UserList();
  ASSERT_EQ(users.size(), 2);
  EXPECT_EQ(users[0].userName, u"ana"_qs);
  EXPECT_EQ(users[1].sessionNumber, 2);
  {
    Session third;
    third.SetNetFileDir(folder.Path());
    EXPECT_EQ(third.SessionNumber(), 3);
  }
  // The number of an instance that ended is free again.
  Session fourth;
  fourth.SetNetFileDir(folder.Path());
  EXPECT_EQ(fourth.SessionNumber(), 3);
}

TEST(PrivateFolder, IsHeldByOneInstanceAtATime) {
  TemporaryFolder folder;
  ASSERT_TRUE(QDir(folder.Path()).mkpath(u"PRIVDIR/1"_qs));
  ASSERT_TRUE(QDir(folder.Path()).mkpath(u"PRIVDIR/2"_qs));
  Session first, second;
  first.SetPrivateDir(folder.File(u"PRIVDIR/1"_qs));
  EXPECT_EQ(first.PrivateDir(), folder.File(u"PRIVDIR/1"_qs));
  EXPECT_EQ(EngineMessageOf([&] { second.SetPrivateDir(folder.File(u"PRIVDIR/1"_qs)); }), u"Directory is busy"_qs);
  EXPECT_TRUE(second.PrivateDir().isEmpty());
  second.SetPrivateDir(folder.File(u"PRIVDIR/2"_qs));
  EXPECT_EQ(EngineMessageOf([&] { second.SetPrivateDir(folder.File(u"PRIVDIR/9"_qs)); }), u"Path not found"_qs);
  EXPECT_EQ(second.PrivateDir(), folder.File(u"PRIVDIR/2"_qs));
  // Moving to another folder gives the first one up.
  first.SetPrivateDir(folder.File(u"PRIVDIR"_qs));
  second.SetPrivateDir(folder.File(u"PRIVDIR/1"_qs));
  EXPECT_EQ(second.PrivateDir(), folder.File(u"PRIVDIR/1"_qs));
}
