#include "platform/engine/CachedStatement.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/Statement.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/data/DataFixture.h"

#include <QDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {

QString firstValue(Connection& connection, const QString& sql) {
  Statement statement(connection, sql);
  return statement.Step() ? statement.Column(0).toString() : QString();
}

void twice(sqlite3_context* context, int, sqlite3_value** arguments) {
  sqlite3_result_int64(context, 2 * sqlite3_value_int64(arguments[0]));
}

}  // namespace

TEST(Connection, OneConnectionPerFileWhateverItsSpelling) {
  TemporaryFolder folder;
  auto first = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  auto second = OpenConnection(u"./DATOS.SQLITE"_qs);
  EXPECT_EQ(first.get(), second.get());
  EXPECT_NE(OpenConnection(folder.File(u"OTRO.sqlite"_qs)).get(), first.get());
  EXPECT_EQ(EngineMessageOf([&] { OpenConnection(folder.File(u"NOEXISTE/DATOS.SQLITE"_qs)); }), u"Path not found"_qs);
}

TEST(Connection, RunsInWalModeWithTheBusyTimeout) {
  TemporaryFolder folder;
  ConnectionSettings::SetBusyTimeout(250);
  auto connection = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  EXPECT_EQ(firstValue(*connection, u"PRAGMA journal_mode"_qs), u"wal"_qs);
  EXPECT_EQ(firstValue(*connection, u"PRAGMA busy_timeout"_qs), u"250"_qs);
  // A new timeout reaches the connections already open.
  ConnectionSettings::SetBusyTimeout(75);
  EXPECT_EQ(firstValue(*connection, u"PRAGMA busy_timeout"_qs), u"75"_qs);
}

TEST(Connection, EveryNewConnectionRunsTheRegisteredInitialisers) {
  TemporaryFolder folder;
  QStringList opened;
  ConnectionSettings::AddInitializer([&opened](Connection& connection) {
    opened.append(connection.FileName());
    sqlite3_create_function(connection.Handle(), "TWICE", 1, SQLITE_UTF8, nullptr, twice, nullptr, nullptr);
  });
  auto a = OpenConnection(folder.File(u"A.sqlite"_qs));
  auto again = OpenConnection(folder.File(u"A.sqlite"_qs));
  auto b = OpenConnection(folder.File(u"B.sqlite"_qs));
  ASSERT_EQ(opened.size(), 2);
  EXPECT_TRUE(opened[0].endsWith(u"A.sqlite"));
  EXPECT_EQ(firstValue(*b, u"SELECT TWICE(21)"_qs), u"42"_qs);
  // A failing one fails the opening.
  ConnectionSettings::AddInitializer([](Connection&) { throw Exception(u"sin colación"_qs); });
  EXPECT_THROW(OpenConnection(folder.File(u"C.sqlite"_qs)), Exception);
}

TEST(Connection, TransactionsAreSharedByEveryUserOfTheFile) {
  TemporaryFolder folder;
  auto connection = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  connection->Execute(u"CREATE TABLE T (A INT)"_qs);
  connection->StartTransaction();
  EXPECT_TRUE(OpenConnection(u"DATOS.SQLITE"_qs)->InTransaction());
  connection->Execute(u"INSERT INTO T VALUES (1)"_qs);
  connection->Rollback();
  EXPECT_FALSE(connection->InTransaction());
  EXPECT_EQ(firstValue(*connection, u"SELECT COUNT(*) FROM T"_qs), u"0"_qs);
  EXPECT_TRUE(connection->TableExists(u"t"_qs));
  EXPECT_EQ(connection->TableNames(), QStringList{u"T"_qs});
}

TEST(Connection, ABackupFileIsOpenedOnItsOwnUnlessTheProcessHasItOpen) {
  TemporaryFolder folder;
  int initialised = 0;
  ConnectionSettings::AddInitializer([&initialised](Connection&) { ++initialised; });
  auto database = OpenConnection(folder.File(u"EMP1.sqlite"_qs));
  EXPECT_EQ(OpenBackupFile(folder.File(u"EMP1.sqlite"_qs), FileAccess::Read).get(), database.get());
  auto backup = OpenBackupFile(folder.File(u"EMP1.bak"_qs), FileAccess::Write);
  backup->Execute(u"CREATE TABLE T (A INT)"_qs);
  EXPECT_EQ(initialised, 1);  // the database only
  backup.reset();
  auto reading = OpenBackupFile(folder.File(u"EMP1.bak"_qs), FileAccess::Read);
  reading->StartTransaction();  // with no write lock to take
  EXPECT_EQ(firstValue(*reading, u"SELECT COUNT(*) FROM T"_qs), u"0"_qs);
  reading->Commit();
  EXPECT_EQ(EngineMessageOf([&] { OpenBackupFile(folder.File(u"NOEXISTE.bak"_qs), FileAccess::Read); }),
            u"Path not found"_qs);
}

TEST(EngineErrors, CarryTheEnginesTextThenTheDriversOnANewLine) {
  TemporaryFolder folder;
  auto connection = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  connection->Execute(u"CREATE TABLE T (A INT NOT NULL PRIMARY KEY, B TEXT)"_qs);
  connection->Execute(u"INSERT INTO T VALUES (1, 'x')"_qs);
  const std::tuple<const char*, const char*, int> cases[] = {
      {"SELECT * FROM NOEXISTE", "Table does not exist", SQLITE_ERROR},
      {"INSERT INTO T VALUES (1, 'y')", "Key violation", SQLITE_CONSTRAINT_PRIMARYKEY},
      {"INSERT INTO T VALUES (NULL, 'y')", "Field 'A' must have a value", SQLITE_CONSTRAINT_NOTNULL},
      {"SELEC 1", "General SQL error", SQLITE_ERROR},
  };
  for (const auto& [sql, engineText, sqliteCode] : cases) {
    try {
      connection->Execute(QString::fromLatin1(sql));
      ADD_FAILURE() << sql << " ran";
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(error.EngineMessage(), QString::fromLatin1(engineText)) << sql;
      EXPECT_EQ(error.SqliteCode(), sqliteCode) << sql;
      EXPECT_FALSE(error.DriverMessage().isEmpty()) << sql;
      EXPECT_EQ(error.Message(), error.EngineMessage() + u'\n' + error.DriverMessage());
    }
  }
}

// Where one statement runs, a text of two is refused before anything runs:
// the engine would compile the first and leave the rest unseen.
TEST(Connection, ATextOfTwoStatementsIsRefusedWhereOneRuns) {
  TemporaryFolder folder;
  auto connection = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  connection->Execute(u"CREATE TABLE VX (A INTEGER); INSERT INTO VX VALUES (1), (2), (3)"_qs);
  const QString dobles[] = {u"SELECT * FROM VX; DELETE FROM VX"_qs, u"SELECT 1;DELETE FROM VX;--"_qs,
                            u"DELETE FROM VX WHERE 0; DROP TABLE VX"_qs, u"SELECT 1 /* a */ ; UPDATE VX SET A = 0"_qs,
                            u"SELECT 1; -- a\nDELETE FROM VX"_qs};
  const std::function<void(const QString&)> caminos[] = {
      [&](const QString& sql) { connection->Prepare(sql)->Step(); },
      [&](const QString& sql) { connection->QueryRows(sql); },
      [&](const QString& sql) { CachedStatement(*connection, sql)->Step(); },
  };
  for (const QString& sql : dobles)
    for (const auto& camino : caminos) {
      EXPECT_EQ(EngineMessageOf([&] { camino(sql); }), u"General SQL error"_qs) << sql.toStdString();
      EXPECT_TRUE(DriverMessageOf([&] { camino(sql); }).contains(u"more than one statement"_qs));
      EXPECT_EQ(firstValue(*connection, u"SELECT COUNT(*) FROM VX WHERE A > 0"_qs), u"3"_qs) << sql.toStdString();
    }
  // Blanks, a last ";" and comments after the statement are no second one.
  for (const QString& sql : {u"SELECT COUNT(*) FROM VX;"_qs, u"SELECT COUNT(*) FROM VX ; -- fin\r\n"_qs,
                             u"SELECT COUNT(*) FROM VX /* fin */;\n\t"_qs, u"SELECT COUNT(*) FROM VX -- ; DELETE FROM VX"_qs})
    EXPECT_EQ(firstValue(*connection, sql), u"3"_qs) << sql.toStdString();
  // The batch road still runs every statement of its text.
  connection->Execute(u"INSERT INTO VX VALUES (4); DELETE FROM VX WHERE A = 4; INSERT INTO VX VALUES (5)"_qs);
  EXPECT_EQ(firstValue(*connection, u"SELECT GROUP_CONCAT(A) FROM VX"_qs), u"1,2,3,5"_qs);
}

// A vertical tab or a NUL ends a text as a blank does, on every road; a
// statement after one is still a second statement.
TEST(Connection, VerticalTabsAndNulsAroundAStatementAreBlanks) {
  TemporaryFolder folder;
  auto connection = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  connection->Execute(u"CREATE TABLE VX (A INTEGER); INSERT INTO VX VALUES (1), (2), (3);\v"_qs);
  const std::function<QString(const QString&)> caminos[] = {
      [&](const QString& sql) { return firstValue(*connection, sql); },
      [&](const QString& sql) { return connection->QueryRows(sql).rows.value(0).value(0).toString(); },
      [&](const QString& sql) {
        const CachedStatement statement(*connection, sql);
        return statement->Step() ? statement->Column(0).toString() : QString();
      },
  };
  for (const QString& sql : {u"SELECT COUNT(*) FROM VX\v"_qs, u"SELECT COUNT(*) FROM VX;\v\n"_qs,
                             u"SELECT COUNT(*) FROM VX\0"_qs, u"SELECT COUNT(*) FROM VX; \0\0"_qs,
                             u"SELECT COUNT(*) FROM VX /* fin */\v\0"_qs})
    for (const auto& camino : caminos) EXPECT_EQ(camino(sql), u"3"_qs) << sql.toStdString();
  for (const QString& sql : {u"SELECT 1;\vDELETE FROM VX"_qs, u"SELECT 1\0DELETE FROM VX"_qs,
                             u"SELECT 1;\0 DELETE FROM VX\0"_qs})
    for (const auto& camino : caminos) {
      EXPECT_TRUE(DriverMessageOf([&] { camino(sql); }).contains(u"more than one statement"_qs)) << sql.toStdString();
      EXPECT_EQ(firstValue(*connection, u"SELECT COUNT(*) FROM VX"_qs), u"3"_qs) << sql.toStdString();
    }
  // The batch road runs what stands after a NUL as the statement it is.
  connection->Execute(u"INSERT INTO VX VALUES (4);\0INSERT INTO VX VALUES (5)\0\v"_qs);
  EXPECT_EQ(firstValue(*connection, u"SELECT GROUP_CONCAT(A) FROM VX"_qs), u"1,2,3,4,5"_qs);
}

// A text without a statement runs as an empty one, and the statement cache
// serves it again and again.
TEST(Connection, ATextWithoutAStatementRunsEmptyFromTheCache) {
  TemporaryFolder folder;
  auto connection = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  for (const QString& sql : {u""_qs, u";"_qs, u"-- x"_qs, u"/* c */"_qs, u" ;\v\0"_qs})
    for (int use = 0; use < 3; ++use) {
      const CachedStatement none(*connection, sql);
      EXPECT_FALSE(none->Step()) << sql.toStdString();
      EXPECT_EQ(none->ColumnCount(), 0) << sql.toStdString();
      EXPECT_EQ(EngineMessageOf([&] { none->Bind(1, 7); }), u"General SQL error"_qs) << sql.toStdString();
    }
  EXPECT_EQ(connection->CachedStatementCount(), 5);
}

// A text or bytes bound is what the statement writes, whatever becomes of
// the value given, bound anew, after a reset or a failed step.
TEST(Connection, AValueBoundIsWrittenAsItWasWhenBound) {
  TemporaryFolder folder;
  auto connection = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  connection->Execute(u"CREATE TABLE T (K INTEGER PRIMARY KEY, A, B)"_qs);
  Statement insert(*connection, u"INSERT INTO T VALUES (?, ?, ?)"_qs);
  QString text = QString::fromUtf8("añadido");
  QByteArray bytes("\x01\x00\x02", 3);
  QVariant given(bytes);
  insert.Bind(1, 1);
  insert.Bind(2, text);
  insert.Bind(3, given);
  text[0] = u'X';
  bytes[0] = 'X';
  given = QByteArray("otro");
  ASSERT_FALSE(insert.Step());
  insert.Reset();
  insert.Bind(1, 1);  // the same key: the step fails
  insert.Bind(2, u"primero"_qs);
  insert.Bind(2, u"segundo"_qs);
  EXPECT_THROW(insert.Step(), EDatabaseError);
  insert.Bind(1, 2);
  EXPECT_FALSE(insert.Step());
  EXPECT_EQ(firstValue(*connection, u"SELECT group_concat(K || ':' || A || ':' || hex(B), ';') FROM T"_qs),
            QString::fromUtf8("1:añadido:010002;2:segundo:"));
}
