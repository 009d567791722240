#include "platform/data/ClientDataset.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/IdenticalValues.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

// A client dataset's packed copy, walked every way a grid walks it, against
// a fresh read of the file: every value of every record identical, over
// records the walk lets go of and reads back.

namespace {

constexpr int kRecords = 5000;
constexpr int kPacket = 97;
const QString kSelect = QStringLiteral("SELECT * FROM HOSTIL ORDER BY Orden");

class CopiedRecords : public ClientDataset {
 public:
  using Row = Dataset::Row;
  using Dataset::CurrentRecord;
  std::size_t Held() const { return Rows().size(); }
};

class FileRecords : public Query {
 public:
  using Dataset::Snapshot;
};

class ClientDatasetCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    data.Execute(
        u"CREATE TABLE HOSTIL (Orden INTEGER NOT NULL, Entero INTEGER NULL, Texto VARCHAR(255) NULL, "
        "Memo TEXT NULL, Datos IMAGE NULL, Fecha DATETIME NULL, Importe FLOAT NULL, Marca BIT NULL)"_qs);
    data.Execute(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
        "INSERT INTO HOSTIL SELECT i, "
        "CASE i % 5 WHEN 0 THEN NULL WHEN 1 THEN 9223372036854775807 - i WHEN 2 THEN -9223372036854775807 - 1 + i "
        "  WHEN 3 THEN 2147483647 + i % 3 - 1 ELSE -2147483648 + i % 3 - 1 END, "
        "CASE i % 8 WHEN 0 THEN NULL WHEN 1 THEN '' WHEN 2 THEN 'Ñandú ÁÉÍÓÚ ü ÿ ' || i "
        "  WHEN 3 THEN 'línea' || char(10) || 'otra €' || char(128512) || ' ' || i "
        "  WHEN 4 THEN substr(hex(zeroblob(300)), 1, 200 + i % 55) WHEN 5 THEN '  ' WHEN 6 THEN 'O''Brien \"; DROP' "
        "  ELSE 'ARTICULO ' || i END, "
        "CASE i % 11 WHEN 0 THEN replace(hex(zeroblob(200 + i % 300)), '00', 'áé€') WHEN 1 THEN NULL "
        "  WHEN 2 THEN '' ELSE 'memo ' || i END, "
        "CASE i % 4 WHEN 0 THEN NULL WHEN 1 THEN X'' WHEN 2 THEN zeroblob(i % 50) ELSE randomblob(1 + i % 300) END, "
        "CASE i % 3 WHEN 0 THEN NULL WHEN 1 THEN datetime('2000-01-01', '+' || i || ' days', '+' || (i * 37 % 86400) "
        "  || ' seconds') ELSE '1899-12-30 00:00:00.' || printf('%03d', i % 1000) END, "
        "CASE i % 6 WHEN 0 THEN NULL WHEN 1 THEN -0.0 WHEN 2 THEN 1.0e308 WHEN 3 THEN i * 0.1 WHEN 4 THEN 4.9e-324 "
        "  ELSE -i END, "
        "i % 2 FROM n"_qs.arg(kRecords));
    // Records larger than the blocks the copy packs them in.
    data.Execute(u"UPDATE HOSTIL SET Datos = randomblob(2100000) WHERE Orden = 1500"_qs);
    data.Execute(u"UPDATE HOSTIL SET Memo = replace(hex(zeroblob(400000)), '00', 'ñ€') WHERE Orden = 3001"_qs);

    FileRecords file;
    file.SetDatabaseName(data.DatabaseName());
    file.SQL().SetText(kSelect);
    file.Open();
    expected = FileRecords::Snapshot(file).rows;
    file.Close();
    ASSERT_EQ(expected.size(), std::size_t{kRecords});

    query.SetDatabaseName(data.DatabaseName());
    copy.SetProviderDataSet(&query);
    copy.SetPacketRecords(kPacket);
    copy.SetPacketsByPosition(true);
    copy.BeforeGetRecords = [this](Dataset&, const QVariantHash&) {
      query.SQL().SetText(kSelect + u" LIMIT %1 OFFSET %2"_qs.arg(kPacket).arg(copy.RecordsCopied()));
      query.Open();
      return true;
    };
    query.SQL().SetText(kSelect + u" LIMIT %1"_qs.arg(kPacket));
    query.Open();
    copy.Open();
    query.Close();
  }

  // Whether the current record holds every value of the record wanted.
  ::testing::AssertionResult shows(const CopiedRecords::Row& wanted) {
    const std::optional<CopiedRecords::Row> shown = copy.CurrentRecord();
    if (!shown) return ::testing::AssertionFailure() << "no record";
    if (shown->values.size() != wanted.values.size()) return ::testing::AssertionFailure() << "columns";
    for (qsizetype i = 0; i < wanted.values.size(); ++i)
      if (!IdenticalValues(shown->values[i], wanted.values[i]))
        return ::testing::AssertionFailure() << "column " << i << ": " << qPrintable(shown->values[i].toString().left(40))
                                             << " against " << qPrintable(wanted.values[i].toString().left(40));
    return ::testing::AssertionSuccess();
  }
  // The same for the record of the file at the place, the place being its
  // RecNo.
  ::testing::AssertionResult showsRecord(int place) {
    if (copy.RecNo() != place + 1) return ::testing::AssertionFailure() << "RecNo " << copy.RecNo() << " at " << place;
    return shows(expected[static_cast<std::size_t>(place)]) << " at " << place;
  }

  DataFixture data;
  Query query;
  CopiedRecords copy;
  std::vector<CopiedRecords::Row> expected;
};

}  // namespace

TEST_F(ClientDatasetCopy, EveryValueReadsBackWalkedForwardBackAndByPlace) {
  copy.First();
  for (int place = 0; place < kRecords; ++place, copy.Next()) ASSERT_TRUE(showsRecord(place));
  EXPECT_TRUE(copy.Eof());
  EXPECT_EQ(copy.RecordCount(), kRecords);

  copy.Last();
  for (int place = kRecords - 1; place >= 0; --place, copy.Prior()) ASSERT_TRUE(showsRecord(place));
  EXPECT_TRUE(copy.Bof());

  QRandomGenerator random(77);
  for (int i = 0; i < 200; ++i) {
    const int place = static_cast<int>(random.bounded(kRecords));
    copy.SetRecNo(place + 1);
    ASSERT_TRUE(showsRecord(place));
  }
}

TEST_F(ClientDatasetCopy, WalkedToItsLastRecordItHoldsOnlyTheRecordsAroundIt) {
  copy.Last();
  ASSERT_TRUE(showsRecord(kRecords - 1));
  EXPECT_FALSE(copy.PacketsPending());
  EXPECT_EQ(copy.RecordsCopied(), kRecords);
  EXPECT_LT(copy.Held(), std::size_t{kRecords / 4});

  // Back and forth from there, each record read back as the file holds it.
  EXPECT_EQ(copy.MoveBy(-3000), -3000);
  ASSERT_TRUE(showsRecord(kRecords - 3001));
  EXPECT_EQ(copy.MoveBy(1234), 1234);
  ASSERT_TRUE(showsRecord(kRecords - 1767));
  copy.First();
  ASSERT_TRUE(showsRecord(0));
  EXPECT_EQ(copy.RecordCount(), kRecords);
}

TEST_F(ClientDatasetCopy, AFilteredCopyShowsEveryValueOfTheRecordsItPasses) {
  copy.Last();
  copy.OnFilterRecord = [](Dataset& rows, bool& accept) { accept = rows.FieldByName(u"Orden"_qs).AsInteger() % 3 == 0; };
  copy.SetFiltered(true);
  std::vector<CopiedRecords::Row> passed;
  for (int place = 2; place < kRecords; place += 3) passed.push_back(expected[static_cast<std::size_t>(place)]);
  for (const CopiedRecords::Row& wanted : passed) {
    ASSERT_TRUE(shows(wanted));
    copy.Next();
  }
  EXPECT_TRUE(copy.Eof());
  copy.Last();
  ASSERT_TRUE(shows(passed.back()));
  EXPECT_EQ(copy.RecordCount(), static_cast<int>(passed.size()));
}

// A filter the dataset could hand to a source counts the records it passes,
// not every record copied.
TEST_F(ClientDatasetCopy, AFilterExpressionCountsOnlyTheRecordsItPasses) {
  copy.Last();
  copy.SetFilter(u"Orden <= 100 or Orden > 4950"_qs);
  copy.SetFiltered(true);
  EXPECT_EQ(copy.RecordCount(), 150);
  copy.First();
  ASSERT_TRUE(shows(expected[0]));
  copy.Last();
  ASSERT_TRUE(shows(expected.back()));
  copy.SetFiltered(false);
  EXPECT_EQ(copy.RecordCount(), kRecords);
}
