#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "platform/sql/ServerCommands.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/ServerRoad.h"

#include <QFileInfo>

#include <gtest/gtest.h>


TEST(TableWithoutRowIds, IsWrittenAndFoundAgainByItsKey) {
  DataFixture data;
  data.Execute(QStringLiteral("CREATE TABLE PEDIDOS (Serie TEXT NOT NULL, Numero INTEGER NOT NULL, Cliente TEXT, "
                              "PRIMARY KEY (Serie, Numero)) WITHOUT ROWID"));
  auto pedidos = data.OpenTable(QStringLiteral("PEDIDOS"));
  for (const int numero : {2, 1}) {
    pedidos->Append();
    pedidos->FieldByName(QStringLiteral("Serie")).SetAsString(QStringLiteral("A"));
    pedidos->FieldByName(QStringLiteral("Numero")).SetAsInteger(numero);
    pedidos->FieldByName(QStringLiteral("Cliente")).SetAsString(QStringLiteral("C%1").arg(numero));
    pedidos->Post();
  }
  EXPECT_EQ(pedidos->RecNo(), 1);  // kept in key order
  const Bookmark segundo = [&] {
    pedidos->Last();
    return pedidos->GetBookmark();
  }();
  pedidos->Edit();
  pedidos->FieldByName(QStringLiteral("Cliente")).SetAsString(QStringLiteral("cambiado"));
  pedidos->Post();
  // A new key keeps the record's bookmark, before and after a refresh.
  pedidos->Edit();
  pedidos->FieldByName(QStringLiteral("Numero")).SetAsInteger(7);
  pedidos->Post();
  pedidos->First();
  pedidos->Refresh();
  ASSERT_TRUE(pedidos->BookmarkValid(segundo));
  pedidos->GotoBookmark(segundo);
  EXPECT_EQ(pedidos->FieldByName(QStringLiteral("Numero")).AsInteger(), 7);
  EXPECT_EQ(pedidos->FieldByName(QStringLiteral("Cliente")).AsString(), QStringLiteral("cambiado"));
  pedidos->First();
  pedidos->Delete();
  EXPECT_EQ(data.Scalar(QStringLiteral("SELECT group_concat(Numero || Cliente) FROM PEDIDOS")).toString(),
            QStringLiteral("7cambiado"));
  // A duplicate key is refused as on any keyed table.
  pedidos->Append();
  pedidos->FieldByName(QStringLiteral("Serie")).SetAsString(QStringLiteral("A"));
  pedidos->FieldByName(QStringLiteral("Numero")).SetAsInteger(7);
  EXPECT_EQ(EngineMessageOf([&] { pedidos->Post(); }), QStringLiteral("Key violation"));
}

TEST(SqlRoad, ServerDatabasesOpenOnlyAfterTheLoginAndWhenTheServerListsThem) {
  TemporaryFolder folder;
  InstallServerRoad();
  const QString server = folder.Path();
  // The first login makes the server, with that login as its first.
  SqlRouting::Login(server, QStringLiteral("ZEM"), QStringLiteral("clave"));
  EXPECT_TRUE(QFileInfo::exists(server + QStringLiteral("/master.sqlite")));
  EXPECT_EQ(EngineMessageOf([&] { SqlRouting::Login(server, QStringLiteral("ZEM"), QStringLiteral("otra")); }),
            QStringLiteral("Unknown user name or password"));

  AdoConnection ado;
  ado.SetConnectionString(ServerConnectionString(server, QStringLiteral("EMP1"), QStringLiteral("clave")));
  EXPECT_EQ(EngineMessageOf([&] { ado.Open(); }), QStringLiteral("Unknown database"));
  EXPECT_FALSE(QFileInfo::exists(server + QStringLiteral("/EMP1.sqlite")));

  // Server commands run on the server; what they leave runs mapped.
  Query command;
  command.SetDatabaseName(ServerConnectionString(server, QStringLiteral("master"), QStringLiteral("clave")));
  command.SQL().SetText(QStringLiteral("USE master CREATE DATABASE EMP1  COLLATE SQL_Latin1_General_Cp1_CI_AI"));
  command.ExecSQL();
  ado.Open();
  Query version;
  version.SetDatabaseName(ado.ConnectionString());
  version.SQL().SetText(QStringLiteral("SELECT @@VERSION"));
  version.Open();
  EXPECT_EQ(version.Fields(0).AsString(), ServerCommands::VersionText());

  Query statement;
  statement.SetDatabaseName(ado.ConnectionString());
  statement.SQL().SetText(QStringLiteral("CREATE TABLE T (Codigo INTEGER DEFAULT 0, Fecha DATETIME NULL, "
                                         "CONSTRAINT T_Clave1 PRIMARY KEY (Codigo))"));
  statement.ExecSQL();
  statement.SQL().SetText(QStringLiteral("INSERT INTO T (Codigo, Fecha) VALUES (1, '01/31/2024 10:00:00')"));
  statement.ExecSQL();
  // An IDENTITY column comes with what fills it.
  statement.SQL().SetText(QStringLiteral("CREATE TABLE H (Id INTEGER IDENTITY(1,1), Texto VARCHAR(10) NULL) "
                                         "INSERT INTO H (Texto) VALUES ('a')"));
  statement.ExecSQL();
  statement.SQL().SetText(QStringLiteral("SELECT Id FROM H"));
  statement.Open();
  EXPECT_EQ(statement.Fields(0).AsInteger(), 1);
  statement.Close();
  statement.SQL().SetText(QStringLiteral("SELECT TOP 1 Fecha FROM dbo.T WITH(NOLOCK)"));
  statement.Open();
  EXPECT_EQ(statement.Fields(0).AsString(), QStringLiteral("31/01/2024 10:00:00"));
  statement.Close();
  // This process's session is listed while the connection lives.
  statement.SQL().SetText(QStringLiteral("SELECT loginame, program_name FROM master.dbo.sysprocesses"));
  statement.Open();
  EXPECT_EQ(statement.FieldByName(QStringLiteral("program_name")).AsString(), QStringLiteral("ZEMWIN.EXE"));
  statement.Close();
  // A statement the server does not run fails with its text.
  statement.SQL().SetText(QStringLiteral("SET NOCOUNT ON"));
  EXPECT_EQ(EngineMessageOf([&] { statement.ExecSQL(); }), QStringLiteral("General SQL error"));
}

TEST(SqlRoad, TheAdoTwinIsTheSameConnectionAndJoinsItsTransaction) {
  TemporaryFolder folder;
  InstallServerRoad();
  const QString server = folder.Path();
  SqlRouting::Login(server, QStringLiteral("ZEM"), QString());
  Query create;
  create.SetDatabaseName(ServerConnectionString(server, QStringLiteral("master")));
  create.SQL().SetText(QStringLiteral("CREATE DATABASE EMP2"));
  create.ExecSQL();

  Database database;
  database.SetDatabaseName(QStringLiteral("EMPRESA"));
  database.SetDriverName(QLatin1String(Session::kSqlServerDriver));
  database.Params().Add(QStringLiteral("SERVER NAME=np:") + server);
  database.Params().Add(QStringLiteral("DATABASE NAME=EMP2"));
  database.Params().Add(QStringLiteral("USER NAME=ZEM"));
  AdoConnection ado;
  ado.SetConnectionString(ServerConnectionString(server, QStringLiteral("EMP2")));
  EXPECT_EQ(ado.SharedConnection().get(), database.SharedConnection().get());

  database.StartTransaction();
  ado.BeginTrans();  // joins the running transaction
  database.Execute(QStringLiteral("CREATE TABLE T (A INT)"));
  database.Commit();
  ado.CommitTrans();  // nothing left to commit
  EXPECT_FALSE(ado.InTransaction());
  EXPECT_TRUE(database.SharedConnection()->TableExists(QStringLiteral("T")));

  // USE moves only the logical connection it ran on; one opened again starts in its own database.
  Query onAdo, onDatabase;
  onAdo.SetDatabaseName(ado.ConnectionString());
  onDatabase.SetDatabaseName(QStringLiteral("EMPRESA"));
  const auto count = [](Query& query, const char* sql) {
    query.SQL().SetText(QString::fromLatin1(sql));
    query.Open();
    const int counted = query.Fields(0).AsInteger();
    query.Close();
    return counted;
  };
  const char* tablesNamedT = "SELECT COUNT(*) FROM SYSOBJECTS WHERE name = 'T'";
  const char* sessions = "SELECT COUNT(*) FROM master.dbo.sysprocesses";
  onAdo.SQL().SetText(QStringLiteral("USE master"));
  onAdo.ExecSQL();
  EXPECT_EQ(count(onAdo, tablesNamedT), 0);
  EXPECT_EQ(count(onDatabase, tablesNamedT), 1);
  const int listed = count(onDatabase, sessions);
  ado.Close();  // its session ends
  EXPECT_EQ(count(onDatabase, sessions), listed - 1);
  ado.Open();
  EXPECT_EQ(count(onAdo, tablesNamedT), 1);
}
