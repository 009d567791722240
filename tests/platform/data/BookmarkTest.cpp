#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRecords = 2000;  // many blocks of reading

class WatchedTable : public Table {
 public:
  std::size_t RowsHeld() const { return Rows().size(); }
};

const struct {
  const char* name;
  const char* create;
} kTables[] = {
    {"keyed, with row ids", "CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo))"},
    {"keyed, without row ids", "CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo)) WITHOUT ROWID"},
    {"without key", "CREATE TABLE T (Codigo INT, Nombre TEXT)"},
};

// Codigo 1..kRecords; Nombre runs the other way, so the index on it orders
// the records backwards.
void fill(const DataFixture& data, const char* create) {
  data.Execute(QString::fromUtf8(create));
  data.Execute(u"CREATE INDEX T_PorNombre ON T (Nombre)"_qs);
  data.Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                              "INSERT INTO T SELECT i, printf('n%05d', %1 - i) FROM n")
                   .arg(kRecords));
}

std::unique_ptr<WatchedTable> openT(const DataFixture& data) {
  auto table = std::make_unique<WatchedTable>();
  table->SetDatabaseName(data.Folder());
  table->SetTableName(u"T"_qs);
  table->Open();
  return table;
}

int codigo(const Dataset& table) { return table.FieldByName(u"Codigo"_qs).AsInteger(); }

}  // namespace

TEST(Bookmarks, AnotherDatasetOnTheTableFindsTheRecordThroughItsIndexWithoutReadingTheTable) {
  for (const auto& kind : kTables) {
    SCOPED_TRACE(kind.name);
    DataFixture data;
    fill(data, kind.create);
    auto marking = openT(data);
    marking->MoveBy(1499);
    ASSERT_EQ(codigo(*marking), 1500);
    const Bookmark mark = marking->GetBookmark();
    auto other = openT(data);
    for (const char* index : {"", "PorNombre"}) {
      other->SetIndexName(QString::fromLatin1(index));
      other->First();
      ASSERT_TRUE(other->BookmarkValid(mark));
      EXPECT_EQ(codigo(*other), *index ? kRecords : 1) << "moved by BookmarkValid";
      other->GotoBookmark(mark);
      EXPECT_EQ(codigo(*other), 1500);
      EXPECT_LT(other->RowsHeld(), 200u);
      other->Next();
      EXPECT_EQ(codigo(*other), *index ? 1499 : 1501);
    }
    // The marking dataset's own, after index changes, ranges and Refresh.
    marking->SetIndexName(u"PorNombre"_qs);
    marking->First();
    marking->GotoBookmark(mark);
    EXPECT_EQ(codigo(*marking), 1500);
    marking->SetRange({Text(u"n00400"_qs)}, {Text(u"n00600"_qs)});
    EXPECT_TRUE(marking->BookmarkValid(mark));
    marking->SetRange({Text(u"n00000"_qs)}, {Text(u"n00100"_qs)});
    EXPECT_FALSE(marking->BookmarkValid(mark));
    EXPECT_EQ(EngineMessageOf([&] { marking->GotoBookmark(mark); }), u"Record/Key deleted"_qs);
    EXPECT_EQ(codigo(*marking), kRecords) << "moved by a refused bookmark";
    marking->CancelRange();
    marking->Refresh();
    marking->GotoBookmark(mark);
    EXPECT_EQ(codigo(*marking), 1500);
  }
}

// SQLite gives the last record's row id to the next record; a key can come
// back too.
TEST(Bookmarks, ABookmarkOfAnotherTableOrOfADeletedRecordWhoseRowIdOrKeyCameBackIsRefused) {
  for (const auto& kind : kTables) {
    SCOPED_TRACE(kind.name);
    DataFixture data;
    fill(data, kind.create);
    auto marking = openT(data);
    marking->Last();
    const Bookmark last = marking->GetBookmark();
    auto clientes = data.OpenTable(u"CLIENTES"_qs);
    data.AddCustomer(kRecords, u"con la misma clave"_qs);
    clientes->Refresh();
    EXPECT_FALSE(clientes->BookmarkValid(last));
    EXPECT_EQ(EngineMessageOf([&] { clientes->GotoBookmark(last); }), u"Record/Key deleted"_qs);

    auto deleting = openT(data);
    deleting->Last();
    deleting->Delete();
    deleting->Append();
    deleting->FieldByName(u"Codigo"_qs).SetAsInteger(kRecords);
    deleting->FieldByName(u"Nombre"_qs).SetAsString(u"nuevo"_qs);
    deleting->Post();
    const bool rowIds = !QString::fromUtf8(kind.create).contains(u"WITHOUT"_qs);
    if (rowIds) {  // the case itself: SQLite gave the row id out again
      ASSERT_EQ(data.Scalar(u"SELECT rowid FROM T WHERE Nombre = 'nuevo'"_qs).toInt(), kRecords);
    }
    for (Dataset* table : {static_cast<Dataset*>(marking.get()), static_cast<Dataset*>(deleting.get())}) {
      table->Refresh();
      EXPECT_FALSE(table->BookmarkValid(last));
    }
    const Bookmark nuevo = deleting->GetBookmark();
    ASSERT_TRUE(marking->BookmarkValid(nuevo));
    marking->GotoBookmark(nuevo);
    EXPECT_EQ(marking->FieldByName(u"Nombre"_qs).AsString(), u"nuevo"_qs);
  }
}
