#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/sqlite/Connection.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

constexpr int kRows = 1000;  // many blocks of reading

class WatchedQuery : public Query {
 public:
  std::size_t RowsHeld() const { return Rows().size(); }
};

std::unique_ptr<WatchedQuery> openQuery(const DataFixture& data, const QString& sql) {
  auto query = std::make_unique<WatchedQuery>();
  query->SetDatabaseName(data.Folder());
  query->SQL().SetText(sql);
  query->Open();
  return query;
}

QString numbers(int count) {
  return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
}

int number(const Dataset& query) { return query.Fields(0).AsInteger(); }

// Reads on from the current row to the end: the numbers must follow on.
int walkOn(Dataset& query) {
  int expected = number(query), walked = 0;
  for (; !query.Eof(); query.Next(), ++walked)
    if (number(query) != expected++) ADD_FAILURE() << "row " << expected - 1 << " holds " << number(query);
  return walked;
}

}  // namespace

// A statement left pending on the connection would make these fail (DROP
// TABLE: "database table is locked") or keep the checkpoint from the WAL's end.
TEST(QueryReading, WhatRunsOnTheConnectionWhileAQueryIsOpenMidWayRunsAndTheQueryReadsOn) {
  const struct {
    const char* name;
    std::function<void(const DataFixture&, Connection&)> run;
  } cases[] = {
      {"DROP TABLE of the queried table", [](const DataFixture&, Connection& c) { c.Execute(u"DROP TABLE NUMEROS"_qs); }},
      {"a commit",
       [](const DataFixture&, Connection& c) {
         c.StartTransaction();
         c.Execute(u"DELETE FROM NUMEROS WHERE N > 10"_qs);
         c.Commit();
       }},
      {"a rollback",
       [](const DataFixture&, Connection& c) {
         c.StartTransaction();
         c.Execute(u"DELETE FROM NUMEROS"_qs);
         c.Rollback();
       }},
      {"a checkpoint to the WAL's end",
       [](const DataFixture&, Connection& c) {
         c.Execute(u"INSERT INTO CLIENTES (Codigo) VALUES (1)"_qs);
         EXPECT_EQ(c.QueryRows(u"PRAGMA wal_checkpoint(TRUNCATE)"_qs).rows.value(0).value(0).toInt(), 0) << "busy";
       }},
      {"another dataset's reading",
       [](const DataFixture& data, Connection&) { EXPECT_EQ(Walk(*data.OpenTable(u"NUMEROS"_qs), u"N"_qs).size(), kRows); }},
  };
  for (const auto& action : cases) {
    SCOPED_TRACE(action.name);
    DataFixture data;
    data.Execute(u"CREATE TABLE NUMEROS (N INTEGER PRIMARY KEY)"_qs);
    data.Execute(numbers(kRows) + u"INSERT INTO NUMEROS SELECT i FROM n"_qs);
    auto query = openQuery(data, u"SELECT N FROM NUMEROS ORDER BY N"_qs);
    query->MoveBy(99);
    ASSERT_EQ(number(*query), 100);
    ASSERT_LT(query->RowsHeld(), static_cast<std::size_t>(kRows)) << "read at once";
    EXPECT_NO_THROW(action.run(data, *OpenConnection(data.File())));
    EXPECT_EQ(walkOn(*query), kRows - 99);
  }
}

// Forward only, the rows behind are let go; going back, First, Last and
// RecordCount run the statement again or read the rest.
TEST(QueryReading, AWalkThroughALargeAnswerHoldsABoundedNumberOfRows) {
  constexpr int kLarge = 100000;
  DataFixture data;
  auto query = openQuery(data, numbers(kLarge) + u"SELECT i, printf('fila %d', i) AS Texto FROM n"_qs);
  std::size_t held = 0;
  int walked = 0;
  for (; !query->Eof(); query->Next(), ++walked) {
    if (number(*query) != walked + 1) FAIL() << "row " << walked + 1 << " holds " << number(*query);
    held = std::max(held, query->RowsHeld());
  }
  EXPECT_EQ(walked, kLarge);
  EXPECT_LT(held, 25000u);
  EXPECT_EQ(query->FieldByName(u"Texto"_qs).AsString(), u"fila 100000"_qs);
  query->MoveBy(-(kLarge - 10));
  EXPECT_EQ(number(*query), 10);
  EXPECT_EQ(query->RecNo(), 10);
  query->First();
  EXPECT_EQ(number(*query), 1);
  EXPECT_EQ(query->RecordCount(), kLarge);
  query->Last();
  EXPECT_EQ(number(*query), kLarge);
}

TEST(QueryReading, ABookmarkNamesTheAnswersRowNumberThroughRefresh) {
  DataFixture data;
  for (const int codigo : {30, 10, 20}) data.AddCustomer(codigo, QStringLiteral("C%1").arg(codigo));
  auto query = openQuery(data, u"SELECT Codigo FROM CLIENTES ORDER BY Codigo"_qs);
  query->Last();
  const Bookmark tercera = query->GetBookmark();
  data.AddCustomer(15, u"C15"_qs);
  query->First();
  query->Refresh();
  ASSERT_TRUE(query->BookmarkValid(tercera));
  query->GotoBookmark(tercera);
  EXPECT_EQ(number(*query), 20);
  auto other = openQuery(data, u"SELECT Codigo FROM CLIENTES ORDER BY Codigo"_qs);
  EXPECT_FALSE(other->BookmarkValid(tercera));
  EXPECT_EQ(EngineMessageOf([&] { other->GotoBookmark(tercera); }), u"Record/Key deleted"_qs);
  EXPECT_EQ(number(*other), 10);
}
