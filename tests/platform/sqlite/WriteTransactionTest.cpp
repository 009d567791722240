#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/engine/WriteTransaction.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {

// Another program's connection to a file, which waits for no lock.
class OtherProgram {
 public:
  explicit OtherProgram(const QString& file) {
    sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
  }
  ~OtherProgram() { sqlite3_close_v2(db_); }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;
  // The primary result code of running the statements.
  int Run(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) & 0xff; }

 private:
  sqlite3* db_ = nullptr;
};

int Count(Connection& connection) { return connection.QueryRows(u"SELECT count(*) FROM T"_qs).rows[0][0].toInt(); }

void Insert(Connection& connection, int value, bool commit) {
  WriteTransaction transaction(connection);
  connection.Execute(u"INSERT INTO T VALUES (?)"_qs, {value});
  if (commit) transaction.Commit();
}

}  // namespace

TEST(WriteTransaction, StandsAloneOrJoinsTheRunningTransaction) {
  TemporaryFolder folder;
  auto connection = OpenConnection(folder.File(u"DATOS.SQLITE"_qs));
  connection->Execute(u"CREATE TABLE T (A INT)"_qs);
  Insert(*connection, 1, true);
  Insert(*connection, 2, false);
  EXPECT_FALSE(connection->InTransaction());
  EXPECT_EQ(Count(*connection), 1);

  connection->StartTransaction();
  Insert(*connection, 3, true);
  Insert(*connection, 4, false);  // undoes only its own writes
  EXPECT_TRUE(connection->InTransaction());
  EXPECT_EQ(Count(*connection), 2);
  connection->Rollback();  // the joined writes go with the transaction
  EXPECT_EQ(Count(*connection), 1);
}

TEST(Transactions, LockOnlyTheirOwnFileAndNeverWaitToStart) {
  TemporaryFolder folder;
  const QString general = folder.File(u"GENERAL.sqlite"_qs);
  OpenConnection(general)->Execute(u"CREATE TABLE G (A INT)"_qs);
  auto connection = OpenConnection(folder.File(u"EMP1.sqlite"_qs));
  connection->Execute(u"CREATE TABLE T (A INT NOT NULL)"_qs);
  connection->Attached().Keep(u"GENERAL"_qs, general);
  OtherProgram company(folder.File(u"EMP1.sqlite"_qs));
  OtherProgram generalUser(general);

  // The empty pair that opening a form runs neither waits for another
  // program's lock nor fails.
  ASSERT_EQ(company.Run("BEGIN IMMEDIATE"), SQLITE_OK);
  connection->StartTransaction();
  EXPECT_TRUE(connection->InTransaction());
  connection->Commit();
  EXPECT_FALSE(connection->InTransaction());
  EXPECT_EQ(company.Run("COMMIT"), SQLITE_OK);

  connection->StartTransaction();
  EXPECT_EQ(company.Run("INSERT INTO T VALUES (1)"), SQLITE_BUSY);
  EXPECT_EQ(generalUser.Run("INSERT INTO G VALUES (1)"), SQLITE_OK);
  // A failure before any write gives the lock back while it is told.
  EXPECT_THROW(connection->Execute(u"INSERT INTO T VALUES (NULL)"_qs), EDatabaseError);
  EXPECT_EQ(company.Run("BEGIN IMMEDIATE; COMMIT"), SQLITE_OK);
  EXPECT_TRUE(connection->InTransaction());
  connection->QueryRows(u"SELECT COUNT(*) FROM GENERAL.G"_qs);
  EXPECT_EQ(company.Run("INSERT INTO T VALUES (1)"), SQLITE_BUSY);
  connection->Execute(u"INSERT INTO T VALUES (2)"_qs);  // no older snapshot to refuse it
  connection->Commit();
  EXPECT_EQ(connection->QueryRows(u"SELECT group_concat(A) FROM T"_qs).rows[0][0].toString(), u"2"_qs);

  // A lock not had within the busy timeout keeps SQLite's code.
  ConnectionSettings::SetBusyTimeout(50);
  ASSERT_EQ(company.Run("BEGIN IMMEDIATE"), SQLITE_OK);
  try {
    Insert(*connection, 3, true);
    ADD_FAILURE() << "written";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.EngineMessage(), u"Record locked by another user"_qs);
    EXPECT_EQ(error.SqliteCode() & 0xff, SQLITE_BUSY);
  }
  EXPECT_FALSE(connection->InTransaction());
}
