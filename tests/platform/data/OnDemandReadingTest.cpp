#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRecords = 300;  // several blocks of reading

// Documents 1..300, one line each. Texto: NULL every 50th document; else
// the even document d holds "T<300-d>" and the odd one "t<301-d>", so
// pairs of documents hold texts the collation takes as equal.
class OnDemandReadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateLines(data);
    data.Execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
        "INSERT INTO LINEAS (CodigoTemporal, Linea, LineaMemo, Texto) SELECT i, 1, 0, "
        "CASE WHEN i % 50 = 0 THEN NULL WHEN i % 2 = 0 THEN printf('T%03d', 300 - i) "
        "ELSE printf('t%03d', 301 - i) END FROM n")
                     .arg(kRecords));
    table = data.OpenTable(u"LINEAS"_qs);
  }

  int current() const { return table->FieldByName(u"CodigoTemporal"_qs).AsInteger(); }

  DataFixture data;
  std::unique_ptr<Table> table;
};

TEST_F(OnDemandReadingTest, ATextIndexIsWalkedBothWaysNullsFirstEqualTextsByKey) {
  QStringList expected;
  for (int document = 50; document <= kRecords; document += 50) expected.append(QString::number(document));
  for (int value = 2; value <= kRecords; value += 2) {
    if (const int even = kRecords - value; even > 0 && even % 50 != 0) expected.append(QString::number(even));
    expected.append(QString::number(kRecords + 1 - value));
  }
  table->SetIndexName(u"Clave2"_qs);
  EXPECT_EQ(Walk(*table, u"CodigoTemporal"_qs), expected);
  QStringList backwards;
  for (table->Last(); !table->Bof(); table->Prior()) backwards.prepend(QString::number(current()));
  EXPECT_EQ(backwards, expected);
  EXPECT_EQ(table->RecordCount(), kRecords);
}

TEST_F(OnDemandReadingTest, SearchesRangesAndFiltersReachPastTheRecordsReadFirst) {
  ASSERT_TRUE(table->FindKey({Int(250)}));
  table->Next();
  EXPECT_EQ(current(), 251);
  EXPECT_EQ(table->RecNo(), 251);
  ASSERT_TRUE(table->Locate(u"Texto"_qs, Text(u"t002"_qs)));
  EXPECT_EQ(current(), 299);
  table->SetRange({Int(100)}, {Int(230)});
  EXPECT_EQ(table->RecordCount(), 131);
  table->Last();
  EXPECT_EQ(current(), 230);
  table->CancelRange();
  table->SetFilter(u"CodigoTemporal > 280"_qs);
  table->SetFiltered(true);
  EXPECT_EQ(current(), 281);
  EXPECT_EQ(table->RecordCount(), 20);
}

// FindKey reads from the key on; the reading moves back from there, and a
// search that fails or only looks leaves the current record where it was.
TEST_F(OnDemandReadingTest, ReadingFromAKeyMovesBothWaysAndKeepsTheCurrentRecord) {
  ASSERT_TRUE(table->FindKey({Int(200)}));
  const Bookmark mark = table->GetBookmark();
  EXPECT_EQ(table->MoveBy(-150), -150);
  EXPECT_EQ(current(), 50);
  EXPECT_EQ(table->RecNo(), 50);
  EXPECT_FALSE(table->FindKey({Int(5000)}));
  EXPECT_EQ(current(), 50);
  EXPECT_EQ(table->Lookup(u"CodigoTemporal"_qs, Int(280), u"Texto"_qs).AsString(), u"T020"_qs);
  EXPECT_EQ(current(), 50);
  table->First();
  table->GotoBookmark(mark);
  EXPECT_EQ(current(), 200);
  table->SetFilter(u"CodigoTemporal > 100"_qs);
  table->SetFiltered(true);
  ASSERT_TRUE(table->FindKey({Int(250)}));
  EXPECT_EQ(table->RecNo(), 150);
  table->SetRecNo(3);
  EXPECT_EQ(current(), 103);
}

TEST_F(OnDemandReadingTest, AWalkLetsGoOfTheRecordsFarBehindAndReadsThemBackOnItsWayBack) {
  constexpr int kMany = 20000;
  data.Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) "
                              "INSERT INTO LINEAS (CodigoTemporal, Linea, LineaMemo) SELECT i, 1, 0 FROM n")
                   .arg(kRecords + 1)
                   .arg(kMany));
  int forward = 0, backward = 0;
  for (table->First(); !table->Eof(); table->Next()) ++forward;
  EXPECT_EQ(table->RecNo(), kMany);
  for (int expected = kMany; !table->Bof(); table->Prior(), --expected, ++backward)
    if (current() != expected) break;
  EXPECT_EQ(forward, kMany);
  EXPECT_EQ(backward, kMany);
}

TEST_F(OnDemandReadingTest, RecordsAnotherProgramAddsWhereTheTableWasNotReadYetAreShown) {
  data.Execute(u"INSERT INTO LINEAS (CodigoTemporal, Linea, LineaMemo) VALUES (1000, 1, 0)"_qs);
  EXPECT_EQ(table->RecordCount(), kRecords + 1);
  table->Last();
  EXPECT_EQ(current(), 1000);
}

TEST_F(OnDemandReadingTest, EditPutsARecordAnotherProgramRenamedWhereTheOrderNowPlacesIt) {
  table->SetIndexName(u"Clave2"_qs);
  ASSERT_TRUE(table->FindKey({Text(u"t300"_qs)}));
  data.Execute(u"UPDATE LINEAS SET Texto = 'a' WHERE CodigoTemporal = 1"_qs);
  table->Edit();
  EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), u"a"_qs);
  table->Cancel();
  ASSERT_TRUE(table->FindKey({Text(u"A"_qs)}));
  EXPECT_EQ(current(), 1);
  table->Prior();
  EXPECT_EQ(current(), kRecords);  // the last of the NULLs
}

}  // namespace
