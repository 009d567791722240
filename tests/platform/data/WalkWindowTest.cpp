#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kRecords = 50000;  // several times what a walk keeps
// What a walk may keep read around its current record.
constexpr std::size_t kMostHeld = 24576;

struct WatchedTable : Table {
  using Dataset::Rows;
};

int codigo(const Dataset& table) { return table.FieldByName(u"Codigo"_qs).AsInteger(); }

// T: Codigo 1..kRecords, as the embedded server keeps a keyed table, and
// as a table without a key.
class WalkWindowTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    data.Execute(QString::fromUtf8(GetParam()) +
                 u"; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                 "INSERT INTO T SELECT i, printf('n%05d', i) FROM n"_qs.arg(kRecords));
    table.SetDatabaseName(data.DatabaseName());
    table.SetTableName(u"T"_qs);
    table.Open();
  }

  DataFixture data;
  WatchedTable table;
};

TEST_P(WalkWindowTest, AWalkKeepsABoundedWindowOfRecordsWhicheverWayItGoes) {
  std::size_t held = 0;
  int expected = 1;
  for (table.First(); !table.Eof(); table.Next(), ++expected) {
    if (codigo(table) != expected) break;
    held = std::max(held, table.Rows().size());
  }
  EXPECT_EQ(expected, kRecords + 1) << "walked forwards";
  EXPECT_LE(held, kMostHeld) << "forwards";
  held = 0;
  expected = kRecords;
  for (table.Last(); !table.Bof(); table.Prior(), --expected) {
    if (codigo(table) != expected) break;
    held = std::max(held, table.Rows().size());
  }
  EXPECT_EQ(expected, 0) << "walked backwards";
  EXPECT_LE(held, kMostHeld) << "backwards";
  // Turning back, the records let go ahead are read again.
  for (expected = 2; expected <= kRecords; ++expected) {
    table.Next();
    if (codigo(table) != expected) break;
  }
  EXPECT_EQ(expected, kRecords + 1) << "walked forwards again";
}

// The records the walk let go are identified afresh when read again; a
// bookmark still finds its record, one whose key this table changed too.
TEST_P(WalkWindowTest, BookmarksFindTheirRecordsAfterTheWalkLetThemGo) {
  table.MoveBy(9);
  const Bookmark tenth = table.GetBookmark();
  table.Next();
  const Bookmark renamed = table.GetBookmark();
  EditRecord(table, {{u"Codigo"_qs, Int(kRecords + 1)}});
  for (table.First(); !table.Eof(); table.Next()) {
  }
  for (table.Last(); !table.Bof(); table.Prior()) {
  }
  table.Last();
  table.GotoBookmark(tenth);
  EXPECT_EQ(codigo(table), 10);
  table.Last();
  table.Prior();
  table.GotoBookmark(renamed);
  EXPECT_EQ(codigo(table), kRecords + 1);
  EXPECT_LE(table.Rows().size(), kMostHeld);
}

// Counted and numbered by the engine, walked both ways from the end, the
// records a filter shows are not all kept either.
TEST_P(WalkWindowTest, AFilterIsCountedAndWalkedWithoutKeepingWhatItShows) {
  constexpr int kLeftOut = 100;
  table.SetFilter(u"Codigo > %1 AND Nombre <> 'N00200'"_qs.arg(kLeftOut));
  table.SetFiltered(true);
  table.SetFilterOptions(foCaseInsensitive);
  EXPECT_EQ(table.RecordCount(), kRecords - kLeftOut - 1);
  EXPECT_LE(table.Rows().size(), kMostHeld) << "counted";
  table.Last();
  EXPECT_EQ(table.RecNo(), kRecords - kLeftOut - 1);
  std::size_t held = 0;
  int expected = kRecords, walked = 0;
  for (; !table.Bof(); table.Prior(), --expected, ++walked) {
    if (expected == 200) --expected;
    if (codigo(table) != expected) break;
    held = std::max(held, table.Rows().size());
  }
  EXPECT_EQ(walked, kRecords - kLeftOut - 1);
  EXPECT_LE(held, kMostHeld) << "walked";
}

// A grid scrolled anywhere sets the record number: the record is found by
// its place, near or far from what is read, without reading those before it.
TEST_P(WalkWindowTest, ARecordNumberFarFromWhatIsReadReadsOnlyAroundIt) {
  const struct {
    bool filtered;
    int recNo;
    int codigo;
  } casos[] = {
      {false, kRecords, kRecords},        {false, kRecords - 40, kRecords - 40}, {false, kRecords - 2000, kRecords - 2000},
      {false, 25000, 25000},              {false, 2, 2},                         {false, kRecords + 10, kRecords},
      {true, 1, 101},                     {true, 99, 199},                       {true, 100, 201},
      {true, kRecords - 101, kRecords},   {true, 30000, 30101},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.recNo);
    table.SetFilter(u"Codigo > 100 AND Nombre <> 'n00200'"_qs);
    table.SetFiltered(caso.filtered);
    table.Last();
    table.SetRecNo(caso.recNo);
    EXPECT_EQ(codigo(table), caso.codigo);
    EXPECT_EQ(table.RecNo(), std::min(caso.recNo, table.RecordCount()));
    EXPECT_LE(table.Rows().size(), std::size_t{4096});
    table.Next();
    EXPECT_EQ(codigo(table), caso.codigo == kRecords ? kRecords : caso.codigo + (caso.codigo == 199 ? 2 : 1));
  }
}

// A copy writing record after record into a table, empty or not, keeps no
// more of them than a walk; what it wrote is all there, in order, after.
TEST_P(WalkWindowTest, WritingRecordAfterRecordKeepsABoundedWindow) {
  constexpr int kWritten = 7000;  // past what a walk keeps around its record
  constexpr std::size_t kMostHeldWriting = 6144;
  for (const bool emptyFirst : {true, false}) {
    SCOPED_TRACE(emptyFirst);
    table.Close();
    data.Execute(u"DELETE FROM T WHERE Codigo > %1"_qs.arg(emptyFirst ? 0 : 2000));
    table.Open();
    std::size_t held = 0;
    const int first = emptyFirst ? 1 : 2001;
    for (int codigo = first; codigo < first + kWritten; ++codigo) {
      table.Append();
      table.FieldByName(u"Codigo"_qs).SetAsInteger(codigo);
      table.FieldByName(u"Nombre"_qs).SetAsString(u"n%1"_qs.arg(codigo));
      table.Post();
      held = std::max(held, table.Rows().size());
    }
    EXPECT_LE(held, kMostHeldWriting);
    const int last = first + kWritten - 1;
    int expected = 1;
    for (table.First(); !table.Eof() && codigo(table) == expected; table.Next()) ++expected;
    EXPECT_EQ(expected, last + 1);
    for (table.Last(); !table.Bof() && codigo(table) == expected - 1; table.Prior()) --expected;
    EXPECT_EQ(expected, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, WalkWindowTest,
    ::testing::Values("CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo)) WITHOUT ROWID",
                      "CREATE TABLE T (Codigo INT, Nombre TEXT); CREATE INDEX T_Codigo ON T (Codigo)"));

}  // namespace
