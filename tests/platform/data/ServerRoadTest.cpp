#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/Statement.h"
#include "tests/platform/data/BookmarkSequences.h"
#include "tests/platform/data/RecordsHelpers.h"
#include "tests/platform/data/ServerRoad.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

class ServerRoadTest : public ::testing::Test {
 protected:
  ServerRoadTest() {
    InstallServerRoad();
    SqlRouting::Login(Server(), u"ZEM"_qs, QString());
  }

  QString Server() const { return folder_.Path(); }
  void Run(const QString& database, const QString& sql) const { RunOnServer(Server(), database, sql); }

  QString Value(const QString& database, const QString& sql) const { return ValueOnServer(Server(), database, sql); }

  // Read straight from the database's file, past the road.
  QVariant Stored(const QString& database, const QString& sql) const {
    auto connection = OpenConnection(QDir(Server()).filePath(database + u".sqlite"_qs));
    Statement statement(*connection, sql);
    return statement.Step() ? statement.Column(0) : QVariant();
  }

  TemporaryFolder folder_;
};

}  // namespace

// The server's own work on a file this process holds goes through the
// process's connection: it never waits for this process's own lock.
TEST_F(ServerRoadTest, ServerWorkJoinsTheTransactionThisProcessHasOpen) {
  Run(u"master"_qs, u"CREATE DATABASE EMP1"_qs);
  ConnectionSettings::SetBusyTimeout(100);

  Database empresa;
  PointAtServer(empresa, Server(), u"EMP1"_qs);
  empresa.StartTransaction();
  empresa.Execute(u"CREATE TABLE T (A INT)"_qs);
  EXPECT_EQ(EngineMessageOf([&] { Run(u"EMP1"_qs, u"EXEC sp_rename 'T', 'T2'"_qs); }), QString());
  EXPECT_TRUE(empresa.SharedConnection()->TableExists(u"T2"_qs));
  empresa.Rollback();
  EXPECT_FALSE(empresa.SharedConnection()->TableExists(u"T2"_qs));

  Database master;
  PointAtServer(master, Server(), u"master"_qs);
  master.StartTransaction();
  master.Execute(u"CREATE TABLE NOTAS (A INT)"_qs);
  EXPECT_EQ(EngineMessageOf([&] { Run(u"master"_qs, u"CREATE DATABASE EMP2"_qs); }), QString());
  master.Commit();
  EXPECT_EQ(Value(u"master"_qs, u"SELECT count(*) FROM sysdatabases WHERE name = 'EMP2'"_qs), u"1"_qs);
}

TEST(ServerDatabaseFiles, AreTheServersOwnFiles) {
  TemporaryFolder folder;
  auto params = [&](const QString& server, const QString& database) {
    StringList list;
    list.Add(u"SERVER NAME="_qs + server);
    list.Add(u"DATABASE NAME="_qs + database);
    return list;
  };
  const QString driver = QLatin1String(Session::kSqlServerDriver);
  EXPECT_EQ(Session::DatabaseFile(driver, params(u"np:"_qs + folder.Path(), u"master"_qs)),
            folder.File(u"master.sqlite"_qs));
  EXPECT_EQ(Session::DatabaseFile(driver, params(folder.Path(), u"emp1"_qs)), folder.File(u"EMP1.sqlite"_qs));
  // Only an existing absolute folder is an embedded server.
  for (const QString& server :
       {folder.File(u"NOEXISTE"_qs), u"np:SERVIDOR"_qs, u"np:"_qs + folder.File(u"NOEXISTE"_qs)})
    EXPECT_EQ(EngineMessageOf([&] { Session::DatabaseFile(driver, params(server, u"EMP1"_qs)); }),
              u"Unknown database"_qs)
        << server.toStdString();
}

TEST_F(ServerRoadTest, StatementsReachEveryCompanyDatabase) {
  constexpr int kCompanies = 12;
  auto name = [](int company) { return u"EMP%1"_qs.arg(company, 2, 10, QLatin1Char('0')); };
  for (int company = 1; company <= kCompanies; ++company) {
    Run(u"master"_qs, u"CREATE DATABASE "_qs + name(company));
    Run(name(company), u"CREATE TABLE dbo.T (N INT)"_qs);
    Run(name(company), u"INSERT INTO dbo.T (N) VALUES (%1)"_qs.arg(company));
  }
  auto valueOf = [&](const QString& sql) { return Value(name(1), sql); };
  Database first;
  PointAtServer(first, Server(), name(1));
  first.Open();  // keeps the connection, and what it attached, alive
  for (int pass = 0; pass < 2; ++pass)
    for (int company = 2; company <= kCompanies; ++company) {
      const int asked = pass == 0 ? company : kCompanies + 2 - company;
      EXPECT_EQ(valueOf(u"SELECT N FROM %1.dbo.T"_qs.arg(name(asked))), QString::number(asked));
    }
  EXPECT_EQ(valueOf(u"SELECT A.N * 100 + B.N FROM EMP02.dbo.T A, EMP12.dbo.T B"_qs), u"212"_qs);
  // Inside a transaction only what is attached is reached: EMP11 made room for EMP12.
  first.StartTransaction();
  EXPECT_EQ(valueOf(u"SELECT N FROM EMP12.dbo.T"_qs), u"12"_qs);
  EXPECT_EQ(EngineMessageOf([&] { valueOf(u"SELECT N FROM EMP11.dbo.T"_qs); }),
            u"Cannot attach database 'EMP11' inside a transaction"_qs);
  first.Rollback();
  EXPECT_EQ(valueOf(u"SELECT N FROM EMP11.dbo.T"_qs), u"11"_qs);
}

// The server makes a keyed table without row ids; a Table on its alias
// reads and writes it by key. The batch that makes it runs every statement.
TEST_F(ServerRoadTest, ATableTheServerCreatedIsWrittenByItsKey) {
  Run(u"master"_qs, u"CREATE DATABASE EMP1"_qs);
  Run(u"EMP1"_qs,
      u"CREATE TABLE dbo.CLIENTES (Codigo INTEGER NOT NULL, Nombre VARCHAR(40) NULL, CONSTRAINT "
      "CLIENTES_Clave1 PRIMARY KEY (Codigo)); INSERT INTO dbo.CLIENTES VALUES (9, 'x;y');\n"
      "-- a note; not a statement\nINSERT INTO CLIENTES VALUES (8, '/*;*/') ;"_qs);
  Session::Default().AddAlias(u"EMPRESA1"_qs, QLatin1String(Session::kSqlServerDriver),
                              ServerParams(Server(), u"EMP1"_qs));

  Table clientes;
  clientes.SetDatabaseName(u"EMPRESA1"_qs);
  clientes.SetTableName(u"CLIENTES"_qs);
  clientes.Open();
  Field& codigo = clientes.FieldByName(u"Codigo"_qs);
  for (const int added : {3, 1, 2}) {
    clientes.Insert();
    codigo.SetAsInteger(added);
    clientes.FieldByName(u"Nombre"_qs).SetAsString(u"Cliente %1"_qs.arg(added));
    clientes.Post();
  }
  ASSERT_TRUE(clientes.FindKey({Int(2)}));
  const Bookmark segundo = clientes.GetBookmark();
  EditRecord(clientes, {{u"Codigo"_qs, Int(20)}, {u"Nombre"_qs, Text(u"Cambiado"_qs)}});
  EXPECT_FALSE(clientes.FindKey({Int(2)}));
  ASSERT_TRUE(clientes.FindKey({Int(20)}));
  EXPECT_EQ(clientes.FieldByName(u"Nombre"_qs).AsString(), u"Cambiado"_qs);
  // A new key keeps the record's bookmark, after a refresh too.
  clientes.First();
  clientes.Refresh();
  ASSERT_TRUE(clientes.BookmarkValid(segundo));
  clientes.GotoBookmark(segundo);
  EXPECT_EQ(codigo.AsInteger(), 20);
  ASSERT_TRUE(clientes.FindKey({Int(1)}));
  clientes.Delete();
  clientes.Insert();
  codigo.SetAsInteger(3);
  EXPECT_EQ(EngineMessageOf([&] { clientes.Post(); }), u"Key violation"_qs);
  clientes.Cancel();
  EXPECT_EQ(Stored(u"EMP1"_qs,
                   u"SELECT group_concat(Codigo || ':' || Nombre, '|') FROM "
                   "(SELECT * FROM CLIENTES ORDER BY Codigo)"_qs)
                .toString(),
            u"3:Cliente 3|8:/*;*/|9:x;y|20:Cambiado"_qs);
  EXPECT_EQ(Stored(u"EMP1"_qs, u"SELECT count(*) FROM sqlite_schema WHERE sql LIKE '%WITHOUT ROWID'"_qs).toInt(), 1);
}

// Every keyed table of the server is kept without row ids: its records are
// named by their keys, integer or text.
TEST_F(ServerRoadTest, ABookmarkFollowsItsRecordThroughKeyEditsAndMarksNoOther) {
  Run(u"master"_qs, u"CREATE DATABASE EMP1"_qs);
  Session::Default().AddAlias(u"EMPRESA1"_qs, QLatin1String(Session::kSqlServerDriver),
                              ServerParams(Server(), u"EMP1"_qs));
  for (const auto& [name, type] : {std::pair{"ENTEROS", "INTEGER"}, std::pair{"TEXTOS", "VARCHAR(10)"}}) {
    SCOPED_TRACE(type);
    const QString table = QString::fromLatin1(name);
    Run(u"EMP1"_qs, u"CREATE TABLE dbo.%1 (A %2 NOT NULL, V INTEGER NULL, CONSTRAINT %1_Clave PRIMARY KEY (A))"_qs.arg(
                        table, QString::fromLatin1(type)));
    ExpectBookmarksFollowTheirRecordThroughKeyEdits([table] {
      auto opened = std::make_unique<Table>();
      opened->SetDatabaseName(u"EMPRESA1"_qs);
      opened->SetTableName(table);
      opened->Open();
      return opened;
    });
  }
  EXPECT_EQ(Stored(u"EMP1"_qs, u"SELECT count(*) FROM sqlite_schema WHERE sql LIKE '%WITHOUT ROWID'"_qs).toInt(), 2);
}
