#include <gtest/gtest.h>

#include <functional>

#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/sqlite/Connection.h"
#include "tests/platform/data/RecordsHelpers.h"

namespace {

struct WatchedQuery : Query {
  using Dataset::Rows;
};

std::unique_ptr<WatchedQuery> openNumbers(const DataFixture& data, int count, const char* select = "SELECT i FROM n") {
  auto query = std::make_unique<WatchedQuery>();
  query->SetDatabaseName(data.DatabaseName());
  query->SQL().SetText(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) %2")
                           .arg(count)
                           .arg(select));
  query->Open();
  return query;
}

}  // namespace

// A statement left pending would make these fail ("database table is
// locked"), or show the query the rows its own connection deleted.
TEST(QueryReading, WhatRunsOnTheConnectionWhileAQueryIsOpenMidWayRunsAndTheQueryReadsOn) {
  const std::pair<const char*, std::function<void(Connection&)>> cases[] = {
      {"DROP TABLE of the queried table", [](Connection& c) { c.Execute(u"DROP TABLE NUMEROS"_qs); }},
      {"a commit", [](Connection& c) { c.StartTransaction(), c.Execute(u"DELETE FROM NUMEROS"_qs), c.Commit(); }},
      {"a rollback", [](Connection& c) { c.StartTransaction(), c.Execute(u"DELETE FROM NUMEROS"_qs), c.Rollback(); }},
      {"a checkpoint to the WAL's end", [](Connection& c) {
         c.Execute(u"INSERT INTO CLIENTES (Codigo) VALUES (1)"_qs);
         EXPECT_EQ(c.QueryRows(u"PRAGMA wal_checkpoint(TRUNCATE)"_qs).rows.value(0).value(0).toInt(), 0) << "busy";
       }}};
  for (const auto& [name, run] : cases) {
    SCOPED_TRACE(name);
    DataFixture data;
    data.Execute(u"CREATE TABLE NUMEROS (N INTEGER PRIMARY KEY)"_qs);
    openNumbers(data, 1000, "INSERT INTO NUMEROS SELECT i FROM n");
    auto query = openNumbers(data, 1, "SELECT N FROM NUMEROS ORDER BY N");
    query->MoveBy(99);
    ASSERT_LT(query->Rows().size(), 1000u) << "read at once";
    EXPECT_NO_THROW(run(*OpenConnection(data.File())));
    const QStringList walked = Walk(*query, u"N"_qs);
    EXPECT_EQ(walked.size(), 1000);
    EXPECT_EQ(walked.value(999), u"1000"_qs);
  }
}

// Forward only, the rows behind are let go; going back runs it again.
TEST(QueryReading, AWalkThroughALargeAnswerHoldsABoundedNumberOfRowsAndRowNumbersAsBookmarks) {
  constexpr int kLarge = 100000;
  DataFixture data;
  auto query = openNumbers(data, kLarge);
  std::size_t held = 0;
  int walked = 0;
  for (; !query->Eof() && query->Fields(0).AsInteger() == ++walked; query->Next())
    held = std::max(held, query->Rows().size());
  EXPECT_EQ(walked, kLarge);
  EXPECT_LT(held, 25000u);
  query->MoveBy(-(kLarge - 10));
  const Bookmark tenth = query->GetBookmark();
  ASSERT_TRUE(query->Locate(u"i"_qs, Int(kLarge - 5)));
  EXPECT_EQ(query->RecNo(), kLarge - 5);
  EXPECT_EQ(query->RecordCount(), kLarge);
  query->Refresh();
  query->GotoBookmark(tenth);
  EXPECT_EQ(query->Fields(0).AsInteger(), 10);
  EXPECT_EQ(EngineMessageOf([&] { openNumbers(data, 20)->GotoBookmark(tenth); }), u"Record/Key deleted"_qs);
}
