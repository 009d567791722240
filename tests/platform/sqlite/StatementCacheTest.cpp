#include "platform/sqlite/Connection.h"
#include "platform/engine/CachedStatement.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {

class StatementCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection_ = OpenConnection(folder_.File(u"DATOS.SQLITE"_qs));
    connection_->Execute(u"CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1), (2), (3)"_qs);
  }
  Connection& connection() { return *connection_; }

  TemporaryFolder folder_;
  std::shared_ptr<Connection> connection_;
};

}  // namespace

TEST_F(StatementCacheTest, AStatementLeftInTheMiddleOfItsRowsComesBackResetAndUnbound) {
  for (int use = 0; use < 2; ++use) {
    const CachedStatement select(connection(), u"SELECT A, ? FROM T ORDER BY A"_qs);
    if (use == 0) select->Bind(1, 7);
    ASSERT_TRUE(select->Step());
    EXPECT_EQ(select->Column(0).toInt(), 1);  // from the first row again
    EXPECT_EQ(select->Column(1).isNull(), use == 1);
  }
  EXPECT_EQ(connection().CachedStatementCount(), 1);
  // Nothing kept is pending, so the table can go.
  EXPECT_NO_THROW(connection().Execute(u"DROP TABLE T"_qs));
}

TEST_F(StatementCacheTest, NoStatementPreparedBeforeTheSchemaChangedIsServedAgain) {
  const struct {
    const char* change;
    int columns;
  } cases[] = {
      {"ALTER TABLE T ADD COLUMN B TEXT", 2},
      {"DROP TABLE T; CREATE TABLE T (X, Y, Z)", 3},
  };
  for (const auto& step : cases) {
    { const CachedStatement select(connection(), u"SELECT * FROM T"_qs); }
    connection().Execute(QString::fromLatin1(step.change));
    const CachedStatement select(connection(), u"SELECT * FROM T"_qs);
    EXPECT_EQ(select->ColumnCount(), step.columns) << step.change;
  }
}

TEST_F(StatementCacheTest, TheSameTextInUseTwiceIsTwoStatements) {
  const CachedStatement outer(connection(), u"SELECT A FROM T ORDER BY A"_qs);
  ASSERT_TRUE(outer->Step());
  {
    const CachedStatement inner(connection(), u"SELECT A FROM T ORDER BY A"_qs);
    ASSERT_TRUE(inner->Step());
    ASSERT_TRUE(inner->Step());
    EXPECT_EQ(inner->Column(0).toInt(), 2);
  }
  ASSERT_TRUE(outer->Step());
  EXPECT_EQ(outer->Column(0).toInt(), 2);
}

// A transaction that could not take the lock at its start takes it before
// the first statement runs, a statement used before among them.
TEST_F(StatementCacheTest, AReusedStatementStartsTheTransactionLeftPending) {
  { const CachedStatement select(connection(), u"SELECT COUNT(*) FROM T"_qs); select->Step(); }
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(connection().FileName().toUtf8().constData(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  connection().StartTransaction();
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  ASSERT_NE(sqlite3_get_autocommit(connection().Handle()), 0);
  { const CachedStatement select(connection(), u"SELECT COUNT(*) FROM T"_qs); select->Step(); }
  EXPECT_EQ(sqlite3_get_autocommit(connection().Handle()), 0);
  connection().Rollback();
}

// A connection running ever new texts starts its kept ones again, also while
// some are lent: those come back to nothing kept, and the next use of their
// text is prepared and kept anew. A text that cannot be prepared keeps nothing.
TEST_F(StatementCacheTest, StatementsLentWhileTheKeptOnesStartAgainComeBackSafely) {
  {
    const CachedStatement lent(connection(), u"SELECT A FROM T ORDER BY A"_qs);
    ASSERT_TRUE(lent->Step());
    for (int text = 0; text < 600; ++text) {
      const CachedStatement other(connection(), u"SELECT A + %1 FROM T"_qs.arg(text));
      ASSERT_TRUE(other->Step());
    }
    ASSERT_TRUE(lent->Step());
    EXPECT_EQ(lent->Column(0).toInt(), 2);
  }
  const int kept = connection().CachedStatementCount();
  EXPECT_LE(kept, 256);
  EXPECT_THROW(CachedStatement(connection(), u"SELECT FROM WHERE"_qs), std::exception);
  EXPECT_EQ(connection().CachedStatementCount(), kept);
  for (int use = 0; use < 2; ++use) {
    const CachedStatement again(connection(), u"SELECT A FROM T ORDER BY A"_qs);
    ASSERT_TRUE(again->Step());
    EXPECT_EQ(again->Column(0).toInt(), 1);
  }
  EXPECT_EQ(connection().CachedStatementCount(), kept + 1);
}

// A held statement whose rest cannot be read fails the statement asked for,
// and costs its text nothing: the next use is kept as before.
TEST_F(StatementCacheTest, AHeldStatementThatFailsToFinishLeavesTheTextKept) {
  const QString text = u"SELECT COUNT(*) FROM T"_qs;
  const auto preparedOnTheHandle = [&] {
    int found = 0;
    sqlite3* db = connection().Handle();
    for (sqlite3_stmt* statement = sqlite3_next_stmt(db, nullptr); statement; statement = sqlite3_next_stmt(db, statement))
      found += QString::fromUtf8(sqlite3_sql(statement)) == text;
    return found;
  };
  { const CachedStatement first(connection(), text); }
  const int holder = 0;
  connection().HoldOpen(&holder, [] { throw std::runtime_error("the rest cannot be read"); });
  EXPECT_THROW(CachedStatement(connection(), text), std::runtime_error);
  for (int use = 0; use < 2; ++use) {
    const CachedStatement count(connection(), text);
    ASSERT_TRUE(count->Step());
    EXPECT_EQ(count->Column(0).toInt(), 3);
  }
  EXPECT_EQ(preparedOnTheHandle(), 1);
}

// A text is found again by its characters, never by where they lie: a
// caller's text changed in place, or let go and its memory taken by another
// text, is the other text.
TEST_F(StatementCacheTest, ATextChangedOrLetGoIsNeverTakenForTheOneKeptBefore) {
  const auto answer = [this](const QString& text) {
    const CachedStatement select(connection(), text);
    return select->Step() ? select->Column(0).toInt() : -1;
  };
  QString kept = QString::fromLatin1("SELECT A FROM T WHERE A = 1");
  for (int use = 0; use < 3; ++use) EXPECT_EQ(answer(kept), 1);
  kept[kept.size() - 1] = u'2';
  EXPECT_EQ(answer(kept), 2);
  for (int round = 0; round < 300; ++round) {
    const int wanted = round % 3 + 1;
    const QString text = QString::fromLatin1("SELECT A FROM T WHERE A = %1").arg(wanted);
    ASSERT_EQ(answer(text), wanted) << round;
    ASSERT_EQ(answer(text), wanted) << round;
  }
}
