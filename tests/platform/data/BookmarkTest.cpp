#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRecords = 2000;  // many blocks of reading

struct WatchedTable : Table {
  using Dataset::Rows;
};

// Codigo 1..kRecords; Nombre runs the other way, as its index orders them.
std::unique_ptr<WatchedTable> openT(const DataFixture& data) {
  auto table = std::make_unique<WatchedTable>();
  table->SetDatabaseName(data.DatabaseName());
  table->SetTableName(u"T"_qs);
  table->Open();
  return table;
}

int codigo(const Dataset& table) { return table.FieldByName(u"Codigo"_qs).AsInteger(); }

}  // namespace

TEST(Bookmarks, AnyDatasetOnTheTableFindsTheRecordThroughTheIndexWhileItExistsAndIsShown) {
  for (const char* create : {"CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo))",
                             "CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo)) WITHOUT ROWID",
                             "CREATE TABLE T (Codigo INT, Nombre TEXT)"}) {
    SCOPED_TRACE(create);
    DataFixture data;
    data.Execute(QString::fromUtf8(create) + u"; CREATE INDEX T_PorNombre ON T (Nombre); "
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                 "INSERT INTO T SELECT i, printf('n%05d', 2000 - i) FROM n"_qs);
    auto marking = openT(data), other = openT(data);
    marking->MoveBy(1499);
    const Bookmark mark = marking->GetBookmark();
    other->SetIndexName(u"PorNombre"_qs);
    ASSERT_TRUE(other->BookmarkValid(mark));
    EXPECT_EQ(codigo(*other), 1) << "moved by BookmarkValid";
    other->GotoBookmark(mark);
    EXPECT_EQ(codigo(*other), 1500);
    EXPECT_LT(other->Rows().size(), 200u) << "read the table";
    // Its own dataset, through an index change, ranges, Refresh and reopening.
    marking->SetIndexName(u"PorNombre"_qs);
    marking->SetRange({Text(u"n00000"_qs)}, {Text(u"n00100"_qs)});
    EXPECT_EQ(EngineMessageOf([&] { marking->GotoBookmark(mark); }), u"Record/Key deleted"_qs);
    EXPECT_EQ(codigo(*marking), kRecords) << "moved by a refused bookmark";
    marking->SetRange({Text(u"n00400"_qs)}, {Text(u"n00600"_qs)});
    marking->Refresh();
    marking->GotoBookmark(mark);
    EXPECT_EQ(codigo(*marking), 1500);
    marking->Close();
    marking->Open();
    marking->GotoBookmark(mark);
    EXPECT_EQ(codigo(*marking), 1500);
    // Through a change of key, after a new record took the old key, once
    // the dataset has let the record go and was opened again: by its row
    // id, or by the key it was given.
    EditRecord(*marking, {{u"Codigo"_qs, Int(0)}});
    data.Execute(u"INSERT INTO T VALUES (1500, 'otro')"_qs);
    marking->CancelRange();
    marking->SetIndexName(QString());
    marking->Last();
    marking->GotoBookmark(mark);
    EXPECT_EQ(codigo(*marking), 0);

    // Another table's record of that key; a deleted record whose row id
    // (SQLite gives the last one out again) or key came back.
    other->SetIndexName(QString());
    other->Last();
    const Bookmark last = other->GetBookmark();
    data.AddCustomer(kRecords, u"otra tabla"_qs);
    EXPECT_FALSE(data.OpenTable(u"CLIENTES"_qs)->BookmarkValid(last));
    other->Delete();
    AppendRecord(*other, {{u"Codigo"_qs, Int(kRecords)}});
    marking->Refresh();
    EXPECT_FALSE(marking->BookmarkValid(last));
    EXPECT_FALSE(other->BookmarkValid(last));
    marking->CancelRange();
    marking->GotoBookmark(other->GetBookmark());
    EXPECT_TRUE(marking->FieldByName(u"Nombre"_qs).IsNull());
  }
}

// Another program deletes the last record and adds one, which SQLite gives
// the same row id: the bookmark names the record deleted, not the new one.
TEST(Bookmarks, ARecordAnotherProgramDeletedIsNotFoundUnderItsRowIdGivenToANewRecord) {
  for (const char* create : {"CREATE TABLE T (Codigo INT, Nombre TEXT)",
                             "CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo))"}) {
    SCOPED_TRACE(create);
    DataFixture data;
    data.Execute(QString::fromUtf8(create) + u"; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                 "WHERE i < 2000) INSERT INTO T SELECT i, printf('n%05d', 2000 - i) FROM n"_qs);
    auto marking = openT(data);
    const Bookmark first = marking->GetBookmark();
    marking->Last();
    const Bookmark last = marking->GetBookmark();
    SecondProcess other(u"execute"_qs,
                        {{u"ZEM_FILE"_qs, data.File()},
                         {u"ZEM_SQL"_qs, u"DELETE FROM T WHERE Codigo = 2000; INSERT INTO T VALUES (5000, 'nuevo')"_qs}});
    ASSERT_EQ(other.ReadReport(), u"executed"_qs);
    EXPECT_EQ(other.Finish(), 0);
    ASSERT_EQ(data.Scalar(u"SELECT rowid FROM T WHERE Codigo = 5000"_qs).toInt(), kRecords) << "row id not reused";

    marking->Refresh();
    marking->First();
    EXPECT_FALSE(marking->BookmarkValid(last));
    EXPECT_EQ(EngineMessageOf([&] { marking->GotoBookmark(last); }), u"Record/Key deleted"_qs);
    EXPECT_EQ(codigo(*marking), 1) << "moved by a refused bookmark";
    auto reading = openT(data);
    EXPECT_FALSE(reading->BookmarkValid(last));
    reading->GotoBookmark(first);
    EXPECT_EQ(codigo(*reading), 1);
  }
}

// A query's rows are numbered as they are read: rows another program adds
// before the bookmarked one move it, and its values find it again.
TEST(Bookmarks, AQueryRowIsFoundAfterARefreshBroughtRowsInBeforeIt) {
  DataFixture data;
  data.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
               "INSERT INTO CLIENTES (Codigo, Nombre) SELECT 2 * i, printf('c%03d', i) FROM n"_qs);
  Query query;
  query.SetDatabaseName(data.DatabaseName());
  query.SQL().SetText(u"SELECT Codigo, Nombre FROM CLIENTES ORDER BY Codigo"_qs);
  query.Open();
  const Bookmark first = query.GetBookmark();
  ASSERT_TRUE(query.Locate(u"Codigo"_qs, Int(400)));
  const Bookmark middle = query.GetBookmark();
  ASSERT_TRUE(query.Locate(u"Codigo"_qs, Int(500)));
  const Bookmark deleted = query.GetBookmark();
  data.Execute(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'uno'), (3, 'tres'); "
               "DELETE FROM CLIENTES WHERE Codigo = 500"_qs);
  query.Refresh();
  query.GotoBookmark(middle);
  EXPECT_EQ(codigo(query), 400);
  query.GotoBookmark(first);
  EXPECT_EQ(codigo(query), 2);
  EXPECT_EQ(EngineMessageOf([&] { query.GotoBookmark(deleted); }), u"Record/Key deleted"_qs);
  EXPECT_EQ(codigo(query), 2);
}

// However many records the program deleted since, a bookmark still finds
// its record, and still refuses a deleted one whose key came back.
TEST(Bookmarks, ABookmarkOutlivesTenThousandDeletionsOfOtherRecords) {
  DataFixture data;
  data.Execute(u"CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo)) WITHOUT ROWID; "
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10100) "
               "INSERT INTO T SELECT i, printf('n%05d', i) FROM n"_qs);
  auto table = openT(data);
  table->Last();
  const Bookmark kept = table->GetBookmark();
  table->First();
  const Bookmark deleted = table->GetBookmark();
  table->Delete();
  AppendRecord(*table, {{u"Codigo"_qs, Int(1)}});
  table->Last();
  for (int i = 0; i < 10000; ++i) {
    table->Prior();
    table->Delete();
  }
  ASSERT_EQ(data.Scalar(u"SELECT COUNT(*) FROM T"_qs).toInt(), 100);
  table->First();
  ASSERT_TRUE(table->BookmarkValid(kept));
  table->GotoBookmark(kept);
  EXPECT_EQ(codigo(*table), 10100);
  EXPECT_FALSE(table->BookmarkValid(deleted));
}

// A record added under the key of one deleted is another record: the deleted
// one's bookmark does not find it, its own does, and it is edited as stored.
TEST(Bookmarks, ARecordAddedUnderTheKeyOfOneDeletedHasABookmarkOfItsOwn) {
  for (const char* create : {"CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo)) WITHOUT ROWID",
                             "CREATE TABLE T (Codigo TEXT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo)) WITHOUT ROWID"}) {
    SCOPED_TRACE(create);
    DataFixture data;
    data.Execute(QString::fromUtf8(create) + u"; INSERT INTO T VALUES (1, 'a'), (2, 'b'), (3, 'c')"_qs);
    auto table = openT(data);
    table->Next();
    const Bookmark deleted = table->GetBookmark();
    table->Delete();
    table->Append();
    table->FieldByName(u"Codigo"_qs).SetAsString(u"2"_qs);
    table->FieldByName(u"Nombre"_qs).SetAsString(u"nuevo"_qs);
    table->Post();
    const Bookmark added = table->GetBookmark();
    EXPECT_FALSE(table->BookmarkValid(deleted));
    EXPECT_TRUE(table->BookmarkValid(added));
    table->First();
    table->GotoBookmark(added);
    EXPECT_EQ(table->FieldByName(u"Nombre"_qs).AsString(), u"nuevo"_qs);
    table->Edit();
    table->FieldByName(u"Nombre"_qs).SetAsString(u"otro"_qs);
    table->Post();
    EXPECT_EQ(data.Scalar(u"SELECT Nombre FROM T WHERE Codigo = 2"_qs).toString(), u"otro"_qs);
    EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM T"_qs).toInt(), 3);
    auto reading = openT(data);
    EXPECT_FALSE(reading->BookmarkValid(deleted));
    reading->GotoBookmark(added);
    EXPECT_EQ(reading->FieldByName(u"Nombre"_qs).AsString(), u"otro"_qs);
  }
}
