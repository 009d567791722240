#include "platform/sqlite/Connection.h"
#include "platform/sqlite/WriteTransaction.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

int Count(Connection& connection) {
  return connection.QueryRows(QStringLiteral("SELECT count(*) FROM T")).rows[0][0].toInt();
}

void Insert(Connection& connection, int value, bool commit) {
  WriteTransaction transaction(connection);
  connection.Execute(QStringLiteral("INSERT INTO T VALUES (?)"), {value});
  if (commit) transaction.Commit();
}

}  // namespace

TEST(WriteTransaction, StandsAloneOrJoinsTheRunningTransaction) {
  TemporaryFolder folder;
  auto connection = OpenConnection(folder.File(QStringLiteral("DATOS.SQLITE")));
  connection->Execute(QStringLiteral("CREATE TABLE T (A INT)"));
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
