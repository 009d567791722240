#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/SqlRouting.h"
#include "platform/sql/ServerCommands.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/ServerRoad.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

// Runs a statement on the query and gives a column of its first row.
QString answer(Query& query, const QString& sql, const QString& column = QString()) {
  query.SQL().SetText(sql);
  query.Open();
  const QString value = (column.isEmpty() ? query.Fields(0) : query.FieldByName(column)).AsString();
  query.Close();
  return value;
}

void exec(Query& query, const QString& sql) {
  query.SQL().SetText(sql);
  query.ExecSQL();
}

}  // namespace

TEST(SqlRoad, ServerDatabasesOpenOnlyAfterTheLoginAndWhenTheServerListsThem) {
  TemporaryFolder folder;
  InstallServerRoad();
  const QString server = folder.Path();
  // The first login makes the server, with that login as its first.
  SqlRouting::Login(server, u"ZEM"_qs, u"clave"_qs);
  EXPECT_TRUE(QFileInfo::exists(server + u"/master.sqlite"_qs));
  EXPECT_EQ(EngineMessageOf([&] { SqlRouting::Login(server, u"ZEM"_qs, u"otra"_qs); }),
            u"Unknown user name or password"_qs);

  AdoConnection ado;
  ado.SetConnectionString(ServerConnectionString(server, u"EMP1"_qs, u"clave"_qs));
  EXPECT_EQ(EngineMessageOf([&] { ado.Open(); }), u"Unknown database"_qs);
  EXPECT_FALSE(QFileInfo::exists(server + u"/EMP1.sqlite"_qs));

  // Server commands run on the server; what they leave runs mapped.
  Query statement;
  statement.SetDatabaseName(ServerConnectionString(server, u"master"_qs, u"clave"_qs));
  exec(statement, u"USE master CREATE DATABASE EMP1  COLLATE SQL_Latin1_General_Cp1_CI_AI"_qs);
  ado.Open();
  statement.SetDatabaseName(ado.ConnectionString());
  EXPECT_EQ(answer(statement, u"SELECT @@VERSION"_qs), ServerCommands::VersionText());
  exec(statement,
       u"CREATE TABLE T (Codigo INTEGER DEFAULT 0, Fecha DATETIME NULL, "
       "CONSTRAINT T_Clave1 PRIMARY KEY (Codigo))"_qs);
  exec(statement, u"INSERT INTO T (Codigo, Fecha) VALUES (1, '01/31/2024 10:00:00')"_qs);
  EXPECT_EQ(answer(statement, u"SELECT TOP 1 Fecha FROM dbo.T WITH(NOLOCK)"_qs), u"31/01/2024 10:00:00"_qs);
  // An IDENTITY column comes with what fills it.
  exec(statement,
       u"CREATE TABLE H (Id INTEGER IDENTITY(1,1), Texto VARCHAR(10) NULL) "
       "INSERT INTO H (Texto) VALUES ('a')"_qs);
  EXPECT_EQ(answer(statement, u"SELECT Id FROM H"_qs), u"1"_qs);
  // This process's session is listed while the connection lives.
  EXPECT_EQ(answer(statement, u"SELECT loginame, program_name FROM master.dbo.sysprocesses"_qs, u"program_name"_qs),
            u"ZEMWIN.EXE"_qs);
  // A statement the server does not run fails with its text.
  EXPECT_EQ(EngineMessageOf([&] { exec(statement, u"SET NOCOUNT ON"_qs); }), u"General SQL error"_qs);
}

// Its transactions joined are checked where the program begins and ends them.
TEST(SqlRoad, TheAdoTwinIsTheSameConnectionWithItsOwnSession) {
  TemporaryFolder folder;
  InstallServerRoad();
  const QString server = folder.Path();
  SqlRouting::Login(server, u"ZEM"_qs, QString());
  RunOnServer(server, u"master"_qs, u"CREATE DATABASE EMP2"_qs);

  Database database;
  database.SetDatabaseName(u"EMPRESA"_qs);
  PointAtServer(database, server, u"EMP2"_qs);
  AdoConnection ado;
  ado.SetConnectionString(ServerConnectionString(server, u"EMP2"_qs));
  EXPECT_EQ(ado.SharedConnection().get(), database.SharedConnection().get());
  database.Execute(u"CREATE TABLE T (A INT)"_qs);

  // USE moves only the logical connection it ran on; one opened again starts in its own database.
  Query onAdo, onDatabase;
  onAdo.SetDatabaseName(ado.ConnectionString());
  onDatabase.SetDatabaseName(u"EMPRESA"_qs);
  const QString tablesNamedT = u"SELECT COUNT(*) FROM SYSOBJECTS WHERE name = 'T'"_qs;
  const QString sessions = u"SELECT COUNT(*) FROM master.dbo.sysprocesses"_qs;
  exec(onAdo, u"USE master"_qs);
  EXPECT_EQ(answer(onAdo, tablesNamedT), u"0"_qs);
  EXPECT_EQ(answer(onDatabase, tablesNamedT), u"1"_qs);
  const int listed = answer(onDatabase, sessions).toInt();
  ado.Close();  // its session ends
  EXPECT_EQ(answer(onDatabase, sessions).toInt(), listed - 1);
  ado.Open();
  EXPECT_EQ(answer(onAdo, tablesNamedT), u"1"_qs);
}

// A session that moved to another database holds it: a transaction begun
// there by one statement is still running at the next, while nothing else
// of the program has that database open.
TEST(SqlRoad, ATransactionBegunAfterAUseLastsFromOneStatementToTheNext) {
  TemporaryFolder folder;
  InstallServerRoad();
  const QString server = folder.Path();
  SqlRouting::Login(server, u"ZEM"_qs, QString());
  RunOnServer(server, u"master"_qs, u"CREATE DATABASE EMP3"_qs);
  Query statement;
  statement.SetDatabaseName(ServerConnectionString(server, u"master"_qs));
  exec(statement, u"USE EMP3; CREATE TABLE T (A INT NULL)"_qs);
  for (const char* sql : {"USE EMP3; BEGIN TRANSACTION", "USE EMP3; INSERT INTO T (A) VALUES (1)",
                          "USE EMP3; ROLLBACK TRANSACTION", "USE EMP3; BEGIN TRANSACTION",
                          "USE EMP3; INSERT INTO T (A) VALUES (2)", "USE EMP3; COMMIT TRANSACTION"})
    exec(statement, QString::fromLatin1(sql));
  EXPECT_EQ(answer(statement, u"SELECT SUM(A) FROM T"_qs), u"2"_qs);
}
