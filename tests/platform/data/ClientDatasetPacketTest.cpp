#include "platform/controls/DatasetModel.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

namespace {

// 250 customers read by a client dataset in packets of 100, each packet by
// a statement of its own from the last code copied.
class ClientDatasetPacketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.Execute(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 250) "
        "INSERT INTO CLIENTES (Codigo, Nombre) SELECT i, 'C' || i FROM n"_qs);
    query.SetDatabaseName(data.DatabaseName());
    rows.SetProviderDataSet(&query);
    rows.SetPacketRecords(100);
    rows.BeforeGetRecords = [this](Dataset& provider, const QVariantHash& last) {
      statements.append(packetStatement(last.value(u"Codigo"_qs).toString()));
      auto& packet = static_cast<Query&>(provider);
      packet.SQL().SetText(statements.back());
      packet.Open();
      return true;
    };
  }

  static QString packetStatement(const QString& after) {
    return u"SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo > %1 ORDER BY Codigo LIMIT 100"_qs.arg(after);
  }

  void open() {
    query.SQL().SetText(packetStatement(u"0"_qs));
    query.Open();
    rows.Open();
    query.Close();
  }

  int copied() { return rows.RecordCount(); }

  DataFixture data;
  Query query;
  ClientDataset rows;
  QStringList statements;
};

}  // namespace

TEST_F(ClientDatasetPacketTest, CopiesAPacketAtATimeAsTheRecordsAreVisited) {
  open();
  EXPECT_EQ(copied(), 100);
  EXPECT_TRUE(statements.isEmpty());
  // Another statement on the same file does not make it copy the rest.
  Query other;
  other.SetDatabaseName(data.DatabaseName());
  other.SQL().SetText(u"SELECT COUNT(*) FROM CLIENTES"_qs);
  other.Open();
  other.Close();
  EXPECT_EQ(copied(), 100);

  rows.SetRecNo(100);
  EXPECT_EQ(copied(), 100);
  rows.Next();
  EXPECT_EQ(rows.FieldByName(u"Codigo"_qs).AsInteger(), 101);
  EXPECT_EQ(copied(), 200);
  EXPECT_EQ(statements, QStringList{packetStatement(u"100"_qs)});
  EXPECT_FALSE(query.Active());

  rows.Last();
  EXPECT_EQ(rows.FieldByName(u"Codigo"_qs).AsInteger(), 250);
  EXPECT_EQ(copied(), 250);
  EXPECT_FALSE(rows.PacketsPending());
  EXPECT_EQ(statements.size(), 2);
  // Walking back and again reads nothing more.
  rows.First();
  while (!rows.Eof()) rows.Next();
  EXPECT_EQ(statements.size(), 2);
}

TEST_F(ClientDatasetPacketTest, AGridAsksForTheNextPacketAtTheLastRowCopied) {
  open();
  DataSource source;
  source.SetDataSet(&rows);
  DatasetModel model;
  model.SetSource(&source);
  model.SetFieldNames({u"Codigo"_qs, u"Nombre"_qs});
  EXPECT_EQ(model.rowCount(), 100);
  EXPECT_EQ(model.index(99, 1).data().toString(), u"C100"_qs);
  EXPECT_EQ(copied(), 100);
  ASSERT_TRUE(model.canFetchMore({}));
  model.fetchMore({});
  EXPECT_EQ(model.rowCount(), 200);
  EXPECT_EQ(model.index(150, 0).data().toString(), u"151"_qs);
  model.fetchMore({});
  EXPECT_EQ(model.rowCount(), 250);
  EXPECT_FALSE(model.canFetchMore({}));
}

TEST_F(ClientDatasetPacketTest, WithoutItsHandlerOrWhenItFailsTheRecordsEndThere) {
  rows.BeforeGetRecords = nullptr;
  open();
  rows.Last();
  EXPECT_EQ(copied(), 100);

  rows.Close();
  rows.BeforeGetRecords = [](Dataset&, const QVariantHash&) { return false; };
  open();
  rows.Last();
  EXPECT_EQ(rows.FieldByName(u"Codigo"_qs).AsInteger(), 100);
  // Every record at once without packets.
  rows.Close();
  rows.SetPacketRecords(0);
  query.SQL().SetText(u"SELECT Codigo FROM CLIENTES"_qs);
  rows.Open();
  EXPECT_EQ(rows.RecordCount(), 250);
}

// A handler whose statement does not read on from the last row brings the
// same rows again: the records end there instead of growing for ever.
TEST_F(ClientDatasetPacketTest, APacketBringingNothingBeyondTheLastRowEndsTheRecords) {
  rows.BeforeGetRecords = [this](Dataset& provider, const QVariantHash& last) {
    // The next packet as a lost precision would give it: from the row before.
    statements.append(packetStatement(QString::number(last.value(u"Codigo"_qs).toInt() - 100)));
    auto& packet = static_cast<Query&>(provider);
    packet.SQL().SetText(statements.back());
    packet.Open();
    return true;
  };
  open();
  rows.Last();
  EXPECT_EQ(rows.FieldByName(u"Codigo"_qs).AsInteger(), 100);
  EXPECT_EQ(rows.RecordCount(), 100);
  EXPECT_EQ(statements.size(), 1);
}

// Read by position, a packet may end on a record just like the last one
// copied (copies of one record): it is taken, and the records go on, each
// copy once, RecordsCopied counting them whatever the filter.
TEST_F(ClientDatasetPacketTest, PacketsByPositionKeepEveryCopyOfARecord) {
  data.Execute(u"CREATE TABLE COPIAS (Nombre VARCHAR(10))"_qs);
  data.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 330) "
               "INSERT INTO COPIAS (Nombre) SELECT CASE WHEN i <= 320 THEN 'igual' ELSE 'otro' END FROM n"_qs);
  const auto packet = [](int after) {
    return u"SELECT Nombre FROM COPIAS ORDER BY Nombre LIMIT 100 OFFSET %1"_qs.arg(after);
  };
  rows.SetPacketsByPosition(true);
  rows.BeforeGetRecords = [this, packet](Dataset& provider, const QVariantHash&) {
    statements.append(packet(rows.RecordsCopied()));
    auto& next = static_cast<Query&>(provider);
    next.SQL().SetText(statements.back());
    next.Open();
    return true;
  };
  query.SQL().SetText(packet(0));
  rows.Open();
  query.Close();
  EXPECT_EQ(rows.RecordsCopied(), 100);
  rows.SetFilter(u"Nombre = 'otro'"_qs);
  rows.SetFiltered(true);
  rows.Last();
  EXPECT_EQ(rows.FieldByName(u"Nombre"_qs).AsString(), u"otro"_qs);
  EXPECT_EQ(rows.RecordsCopied(), 330);
  EXPECT_EQ(statements, QStringList({packet(100), packet(200), packet(300)}));
  rows.SetFiltered(false);
  int iguales = 0;
  for (rows.First(); !rows.Eof(); rows.Next()) iguales += rows.FieldByName(u"Nombre"_qs).AsString() == u"igual";
  EXPECT_EQ(iguales, 320);
}
