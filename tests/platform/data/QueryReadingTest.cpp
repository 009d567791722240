#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/sqlite/Connection.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

class WatchedQuery : public Query {
 public:
  std::size_t RowsHeld() const { return Rows().size(); }
};

QString numbers(int count) {
  return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
}

std::unique_ptr<WatchedQuery> openQuery(const DataFixture& data, const QString& sql) {
  auto query = std::make_unique<WatchedQuery>();
  query->SetDatabaseName(data.Folder());
  query->SQL().SetText(sql);
  query->Open();
  return query;
}

int number(const Dataset& query) { return query.Fields(0).AsInteger(); }

}  // namespace

// A statement left pending would make these fail ("database table is
// locked"), or show the query the rows its own connection deleted.
TEST(QueryReading, WhatRunsOnTheConnectionWhileAQueryIsOpenMidWayRunsAndTheQueryReadsOn) {
  const std::pair<const char*, std::function<void(Connection&)>> cases[] = {
      {"DROP TABLE of the queried table", [](Connection& c) { c.Execute(u"DROP TABLE NUMEROS"_qs); }},
      {"a commit", [](Connection& c) { c.StartTransaction(), c.Execute(u"DELETE FROM NUMEROS"_qs), c.Commit(); }},
      {"a rollback", [](Connection& c) { c.StartTransaction(), c.Execute(u"DELETE FROM NUMEROS"_qs), c.Rollback(); }},
      {"a checkpoint to the WAL's end",
       [](Connection& c) {
         c.Execute(u"INSERT INTO CLIENTES (Codigo) VALUES (1)"_qs);
         EXPECT_EQ(c.QueryRows(u"PRAGMA wal_checkpoint(TRUNCATE)"_qs).rows.value(0).value(0).toInt(), 0) << "busy";
       }},
  };
  for (const auto& [name, run] : cases) {
    SCOPED_TRACE(name);
    DataFixture data;
    data.Execute(u"CREATE TABLE NUMEROS (N INTEGER PRIMARY KEY)"_qs);
    data.Execute(numbers(1000) + u"INSERT INTO NUMEROS SELECT i FROM n"_qs);
    auto query = openQuery(data, u"SELECT N FROM NUMEROS ORDER BY N"_qs);
    query->MoveBy(99);
    ASSERT_LT(query->RowsHeld(), 1000u) << "read at once";
    EXPECT_NO_THROW(run(*OpenConnection(data.File())));
    QStringList walked = Walk(*query, u"N"_qs);
    EXPECT_EQ(walked.size(), 1000);
    EXPECT_EQ(walked.value(999), u"1000"_qs);
  }
}

// Forward only, the rows behind are let go; going back runs it again.
TEST(QueryReading, AWalkThroughALargeAnswerHoldsABoundedNumberOfRowsAndRowNumbersAsBookmarks) {
  constexpr int kLarge = 100000;
  DataFixture data;
  auto query = openQuery(data, numbers(kLarge) + u"SELECT i FROM n"_qs);
  std::size_t held = 0;
  int walked = 0;
  for (; !query->Eof(); query->Next()) {
    if (number(*query) != ++walked) FAIL() << "row " << walked << " holds " << number(*query);
    held = std::max(held, query->RowsHeld());
  }
  EXPECT_EQ(walked, kLarge);
  EXPECT_LT(held, 25000u);
  query->MoveBy(-(kLarge - 10));
  EXPECT_EQ(number(*query), 10);
  const Bookmark tenth = query->GetBookmark();
  ASSERT_TRUE(query->Locate(u"i"_qs, Int(kLarge - 5)));
  EXPECT_EQ(query->RecNo(), kLarge - 5);
  EXPECT_EQ(query->RecordCount(), kLarge);
  query->Last();
  query->Refresh();
  query->GotoBookmark(tenth);
  EXPECT_EQ(query->RecNo(), 10);
  auto other = openQuery(data, numbers(20) + u"SELECT i FROM n"_qs);
  EXPECT_FALSE(other->BookmarkValid(tenth));
  EXPECT_EQ(EngineMessageOf([&] { other->GotoBookmark(tenth); }), u"Record/Key deleted"_qs);
}
