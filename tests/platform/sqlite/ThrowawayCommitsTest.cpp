#include "platform/engine/EngineConnection.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr int kNormal = 1;  // SQLite's synchronous levels
constexpr int kFull = 2;

int Safety(Connection& connection) {
  return connection.QueryRows(u"PRAGMA main.synchronous"_qs).rows[0][0].toInt();
}

int CountOtherProgramSees(const QString& file) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* count = nullptr;
  sqlite3_prepare_v2(db, "SELECT count(*) FROM T", -1, &count, nullptr);
  const int rows = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int(count, 0) : -1;
  sqlite3_finalize(count);
  sqlite3_close_v2(db);
  return rows;
}

}  // namespace

// The level is SQLite's own; where a transaction runs, the change waits for
// its end, so that it never fails nor splits a transaction.
TEST(ThrowawayCommits, CommitWithoutWaitingOnlyWhileAskedAndOutsideOthersTransactions) {
  TemporaryFolder folder;
  const QString file = folder.File(u"GENERAL.sqlite"_qs);
  auto connection = OpenConnection(file);
  EXPECT_EQ(Safety(*connection), kFull);

  struct Step {
    const char* what;
    bool transactionAround;  // a transaction runs when the work starts
    bool endInside;          // the work ends before the transaction does
  };
  for (const Step& step : {Step{"alone", false, false}, Step{"in a transaction", true, false},
                           Step{"ending inside one", false, true}}) {
    SCOPED_TRACE(step.what);
    if (step.transactionAround) connection->StartTransaction();
    std::optional<EngineConnection::ThrowawayCommits> work(std::in_place, *connection);
    if (step.transactionAround) {
      EXPECT_EQ(Safety(*connection), kFull);
      connection->Commit();
    }
    EXPECT_EQ(Safety(*connection), kNormal);
    connection->StartTransaction();
    connection->Execute(u"CREATE TABLE IF NOT EXISTS T (A INT)"_qs);
    connection->Execute(u"INSERT INTO T VALUES (1)"_qs);
    if (step.endInside) {
      work.reset();
      EXPECT_EQ(Safety(*connection), kNormal);
    }
    connection->Commit();
    work.reset();
    EXPECT_EQ(Safety(*connection), kFull);
  }
  EXPECT_EQ(CountOtherProgramSees(file), 3);

  // Nested work leaves the level to the outermost; a rollback ends a
  // transaction as a commit does.
  {
    const EngineConnection::ThrowawayCommits outer(*connection);
    { const EngineConnection::ThrowawayCommits inner(*connection); }
    EXPECT_EQ(Safety(*connection), kNormal);
    connection->StartTransaction();
    connection->Execute(u"INSERT INTO T VALUES (2)"_qs);
  }
  EXPECT_EQ(Safety(*connection), kNormal);
  connection->Rollback();
  EXPECT_EQ(Safety(*connection), kFull);
  EXPECT_EQ(CountOtherProgramSees(file), 3);
}
