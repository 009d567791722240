#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/Statement.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/ServerRoad.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

class ServerRoadTest : public ::testing::Test {
 protected:
  ServerRoadTest() {
    InstallServerRoad();
    SqlRouting::Login(Server(), QStringLiteral("ZEM"), QString());
  }

  QString Server() const { return folder_.Path(); }
  void Run(const QString& database, const QString& sql) const { RunOnServer(Server(), database, sql); }

  QString Value(const QString& database, const QString& sql) const {
    Query query;
    query.SetDatabaseName(ServerConnectionString(Server(), database));
    query.SQL().SetText(sql);
    query.Open();
    return query.Fields(0).AsString();
  }

  // Read straight from the database's file, past the road.
  QVariant Stored(const QString& database, const QString& sql) const {
    auto connection = OpenConnection(QDir(Server()).filePath(database + QStringLiteral(".sqlite")));
    Statement statement(*connection, sql);
    return statement.Step() ? statement.Column(0) : QVariant();
  }

  void OnServer(Database& database, const QString& name) const {
    database.SetDriverName(QLatin1String(Session::kSqlServerDriver));
    database.Params().Add(QStringLiteral("SERVER NAME=np:") + Server());
    database.Params().Add(QStringLiteral("DATABASE NAME=") + name);
    database.Params().Add(QStringLiteral("USER NAME=ZEM"));
  }

  TemporaryFolder folder_;
};

}  // namespace

// The server's own work on a file this process holds goes through the
// process's connection: it never waits for this process's own lock.
TEST_F(ServerRoadTest, ServerWorkJoinsTheTransactionThisProcessHasOpen) {
  Run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE EMP1"));
  ConnectionSettings::SetBusyTimeout(100);

  Database empresa;
  OnServer(empresa, QStringLiteral("EMP1"));
  empresa.StartTransaction();
  empresa.Execute(QStringLiteral("CREATE TABLE T (A INT)"));
  EXPECT_EQ(EngineMessageOf([&] { Run(QStringLiteral("EMP1"), QStringLiteral("EXEC sp_rename 'T', 'T2'")); }),
            QString());
  EXPECT_TRUE(empresa.SharedConnection()->TableExists(QStringLiteral("T2")));
  empresa.Rollback();
  EXPECT_FALSE(empresa.SharedConnection()->TableExists(QStringLiteral("T2")));

  Database master;
  OnServer(master, QStringLiteral("master"));
  master.StartTransaction();
  master.Execute(QStringLiteral("CREATE TABLE NOTAS (A INT)"));
  EXPECT_EQ(EngineMessageOf([&] { Run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE EMP2")); }),
            QString());
  master.Commit();
  EXPECT_EQ(Value(QStringLiteral("master"), QStringLiteral("SELECT count(*) FROM sysdatabases WHERE name = 'EMP2'")),
            QStringLiteral("1"));
}

TEST(ServerDatabaseFiles, AreTheServersOwnFiles) {
  TemporaryFolder folder;
  auto params = [&](const QString& server, const QString& database) {
    StringList list;
    list.Add(QStringLiteral("SERVER NAME=") + server);
    list.Add(QStringLiteral("DATABASE NAME=") + database);
    return list;
  };
  const QString driver = QLatin1String(Session::kSqlServerDriver);
  EXPECT_EQ(Session::DatabaseFile(driver, params(QStringLiteral("np:") + folder.Path(), QStringLiteral("master"))),
            folder.File(QStringLiteral("master.sqlite")));
  EXPECT_EQ(Session::DatabaseFile(driver, params(folder.Path(), QStringLiteral("emp1"))),
            folder.File(QStringLiteral("EMP1.sqlite")));
  // Only an existing absolute folder is an embedded server.
  for (const QString& server : {folder.File(QStringLiteral("NOEXISTE")), QStringLiteral("np:SERVIDOR"),
                                QStringLiteral("np:") + folder.File(QStringLiteral("NOEXISTE"))})
    EXPECT_EQ(EngineMessageOf([&] { Session::DatabaseFile(driver, params(server, QStringLiteral("EMP1"))); }),
              QStringLiteral("Unknown database"))
        << server.toStdString();
}

TEST_F(ServerRoadTest, StatementsReachEveryCompanyDatabase) {
  constexpr int kCompanies = 12;
  auto name = [](int company) { return QStringLiteral("EMP%1").arg(company, 2, 10, QLatin1Char('0')); };
  for (int company = 1; company <= kCompanies; ++company) {
    Run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE ") + name(company));
    Run(name(company), QStringLiteral("CREATE TABLE dbo.T (N INT)"));
    Run(name(company), QStringLiteral("INSERT INTO dbo.T (N) VALUES (%1)").arg(company));
  }
  Query query;
  query.SetDatabaseName(ServerConnectionString(Server(), name(1)));
  auto valueOf = [&](const QString& sql) {
    query.SQL().SetText(sql);
    query.Open();
    const QString value = query.Fields(0).AsString();
    query.Close();
    return value;
  };
  Database first;
  OnServer(first, name(1));
  first.Open();  // keeps the connection, and what it attached, alive
  for (int pass = 0; pass < 2; ++pass)
    for (int company = 2; company <= kCompanies; ++company) {
      const int asked = pass == 0 ? company : kCompanies + 2 - company;
      EXPECT_EQ(valueOf(QStringLiteral("SELECT N FROM %1.dbo.T").arg(name(asked))), QString::number(asked));
    }
  EXPECT_EQ(valueOf(QStringLiteral("SELECT A.N * 100 + B.N FROM EMP02.dbo.T A, EMP12.dbo.T B")),
            QStringLiteral("212"));
  // Inside a transaction only what is attached is reached: EMP11 made room for EMP12.
  first.StartTransaction();
  EXPECT_EQ(valueOf(QStringLiteral("SELECT N FROM EMP12.dbo.T")), QStringLiteral("12"));
  EXPECT_EQ(EngineMessageOf([&] { valueOf(QStringLiteral("SELECT N FROM EMP11.dbo.T")); }),
            QStringLiteral("Cannot attach database 'EMP11' inside a transaction"));
  first.Rollback();
  EXPECT_EQ(valueOf(QStringLiteral("SELECT N FROM EMP11.dbo.T")), QStringLiteral("11"));
}

TEST_F(ServerRoadTest, ExecSqlRunsEveryStatementOfABatch) {
  Run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE EMP1"));
  Run(QStringLiteral("EMP1"),
      QStringLiteral("CREATE TABLE dbo.T (A INT, B VARCHAR(10) NULL); INSERT INTO dbo.T (A, B) VALUES (1, 'x;y');\n"
                     "-- a note; not a statement\nINSERT INTO T (A, B) VALUES (2, '/*;*/') ;"));
  EXPECT_EQ(Stored(QStringLiteral("EMP1"), QStringLiteral("SELECT group_concat(A || B, '|') FROM T")).toString(),
            QStringLiteral("1x;y|2/*;*/"));
}

TEST(FolderRoad, ExecSqlRunsEveryStatementOfABatch) {
  DataFixture data;
  InstallServerRoad();
  Query query;
  query.SetDatabaseName(data.Folder());
  query.SQL().SetText(QStringLiteral("INSERT INTO dbo.CLIENTES (Codigo, Nombre) VALUES (1, 'Ana; Eva');"
                                     "UPDATE CLIENTES SET Saldo = 5 WHERE Codigo = :codigo"));
  query.ParamByName(QStringLiteral("codigo")).SetAsInteger(1);
  query.ExecSQL();
  EXPECT_EQ(data.Scalar(QStringLiteral("SELECT Nombre || Saldo FROM CLIENTES")).toString(), QStringLiteral("Ana; Eva5.0"));
}

// The server makes a keyed table without row ids; a Table on its alias
// reads and writes it by key.
TEST_F(ServerRoadTest, ATableTheServerCreatedIsWrittenByItsKey) {
  Run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE EMP1"));
  Run(QStringLiteral("EMP1"), QStringLiteral("CREATE TABLE dbo.CLIENTES (Codigo INTEGER NOT NULL, Nombre VARCHAR(40) "
                                             "NULL, CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"));
  StringList params;
  params.Add(QStringLiteral("SERVER NAME=np:") + Server());
  params.Add(QStringLiteral("DATABASE NAME=EMP1"));
  params.Add(QStringLiteral("USER NAME=ZEM"));
  Session::Default().AddAlias(QStringLiteral("EMPRESA1"), QLatin1String(Session::kSqlServerDriver), params);

  Table clientes;
  clientes.SetDatabaseName(QStringLiteral("EMPRESA1"));
  clientes.SetTableName(QStringLiteral("CLIENTES"));
  clientes.Open();
  for (const int codigo : {3, 1, 2}) {
    clientes.Insert();
    clientes.FieldByName(QStringLiteral("Codigo")).SetAsInteger(codigo);
    clientes.FieldByName(QStringLiteral("Nombre")).SetAsString(QStringLiteral("Cliente %1").arg(codigo));
    clientes.Post();
  }
  ASSERT_TRUE(clientes.FindKey({Variant::Integer(2)}));
  const Bookmark segundo = clientes.GetBookmark();
  clientes.Edit();
  clientes.FieldByName(QStringLiteral("Codigo")).SetAsInteger(20);
  clientes.FieldByName(QStringLiteral("Nombre")).SetAsString(QStringLiteral("Cambiado"));
  clientes.Post();
  EXPECT_FALSE(clientes.FindKey({Variant::Integer(2)}));
  ASSERT_TRUE(clientes.FindKey({Variant::Integer(20)}));
  EXPECT_EQ(clientes.FieldByName(QStringLiteral("Nombre")).AsString(), QStringLiteral("Cambiado"));
  clientes.First();
  clientes.Refresh();
  ASSERT_TRUE(clientes.BookmarkValid(segundo));
  clientes.GotoBookmark(segundo);
  EXPECT_EQ(clientes.FieldByName(QStringLiteral("Codigo")).AsInteger(), 20);
  ASSERT_TRUE(clientes.FindKey({Variant::Integer(1)}));
  clientes.Delete();
  clientes.Insert();
  clientes.FieldByName(QStringLiteral("Codigo")).SetAsInteger(3);
  EXPECT_EQ(EngineMessageOf([&] { clientes.Post(); }), QStringLiteral("Key violation"));
  clientes.Cancel();
  EXPECT_EQ(Stored(QStringLiteral("EMP1"), QStringLiteral("SELECT group_concat(Codigo || ':' || Nombre, '|') FROM "
                                                          "(SELECT * FROM CLIENTES ORDER BY Codigo)")).toString(),
            QStringLiteral("3:Cliente 3|20:Cambiado"));
  EXPECT_EQ(Stored(QStringLiteral("EMP1"), QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE name = 'CLIENTES' "
                                                          "AND sql LIKE '%WITHOUT ROWID'")).toInt(),
            1);
}
