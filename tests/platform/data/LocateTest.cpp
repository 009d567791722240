#include "platform/Exceptions.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/sql/Collation.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

class LocateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.Execute(
        u"INSERT INTO CLIENTES (Codigo, Nombre, Alta, Saldo) VALUES "
        "(1, 'Ana García', '2024-02-01 00:00:00', 10), (2, 'ÁLVARO', '2024-03-15 00:00:00', 20), "
        "(3, 'Luis', '2024-02-01 10:30:00', 30), (4, 'Luis', NULL, 40), (5, NULL, NULL, 50)"_qs);
    table = data.OpenTable(u"CLIENTES"_qs);
  }

  int code() const { return table->FieldByName(u"Codigo"_qs).AsInteger(); }

  DataFixture data;
  std::unique_ptr<Table> table;
};

TEST_F(LocateTest, FindsTheFirstRecordWithTheValuesGiven) {
  const struct {
    const char16_t* fields;
    Variant values;
    LocateOptions options;
    int found;  // 0: not found
  } cases[] = {
      {u"Nombre", Text(u"Luis"_qs), 0, 3},
      {u"Codigo;Nombre", Variant::Array({Int(4), Text(u"Luis"_qs)}), 0, 4},
      {u"Nombre;Saldo", Variant::Array({Text(u"Luis"_qs), Text(u"40"_qs)}), 0, 4},
      {u"Codigo;Nombre", Variant::Array({Text(u"0002"_qs), Text(u"ÁLVARO"_qs)}), 0, 2},
      {u"Codigo;Nombre", Variant::Array({Int(2), Text(u"Luis"_qs)}), 0, 0},
      {u"Nombre", Text(u"luis"_qs), 0, 0},
      {u"Nombre", Text(u"luis"_qs), loCaseInsensitive, 3},
      {u"Nombre", Text(u"alvaro"_qs), loCaseInsensitive, 2},
      {u"Nombre", Text(u"Ana"_qs), 0, 0},
      {u"Nombre", Text(u"Ana"_qs), loPartialKey, 1},
      {u"Nombre", Text(u"álv"_qs), loPartialKey, 0},
      {u"Nombre", Text(u"álv"_qs), loPartialKey | loCaseInsensitive, 2},
      {u"Nombre", Variant::Null(), 0, 5},
      {u"Nombre", Text(QString()), 0, 5},
      {u"Alta", Text(u"01/02/2024 10:30:00"_qs), 0, 3},
      {u"Alta", Variant::Date(EncodeDate(2024, 3, 15)), 0, 2},
  };
  for (const auto& c : cases) {
    table->Last();
    EXPECT_EQ(table->Locate(QString::fromUtf16(c.fields), c.values, c.options), c.found != 0)
        << QString::fromUtf16(c.fields).toStdString() << " case " << (&c - cases);
    EXPECT_EQ(code(), c.found != 0 ? c.found : 5) << "case " << (&c - cases);
  }
}

TEST_F(LocateTest, ValuesThatDoNotFitRaiseAndOnlyTheRecordsShownAreSearched) {
  EXPECT_THROW(table->Locate(u"Codigo;Nombre"_qs, Int(1)), Exception);
  EXPECT_THROW(table->Locate(u"Codigo"_qs, Text(u"uno"_qs)), Exception);
  EXPECT_EQ(EngineMessageOf([&] { table->Locate(u"NoExiste"_qs, Int(1)); }), u"Field 'NoExiste' not found"_qs);
  table->SetFilter(u"(Saldo > '30')"_qs);
  table->SetFiltered(true);
  EXPECT_TRUE(table->Locate(u"Nombre"_qs, Text(u"Luis"_qs)));
  EXPECT_EQ(code(), 4);
  EXPECT_FALSE(table->Locate(u"Codigo"_qs, Int(1)));
}

// Ordered by a text field, with more records than the first block: a
// search on the integer key finds each record, accented names among
// plain ones included, whether or not the engine orders text as the
// system does; and misses only what is not there.
TEST_F(LocateTest, AnIntegerFieldFindsItsRecordWhereverTheTextOrderPlacesIt) {
  QStringList rows;
  for (int codigo = 10; codigo < 110; ++codigo) rows << u"(%1, 'n%1')"_qs.arg(codigo);
  rows << u"(500, 'Ábaco')"_qs << u"(501, 'Ñu')"_qs << u"(502, 'Óscar')"_qs << u"(503, 'zorro')"_qs;
  data.Execute(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES "_qs + rows.join(u", "_qs));
  table->SetIndexFieldNames(u"Nombre"_qs);
  for (const int codigo : {500, 501, 502, 503, 2, 5, 10, 109}) {
    table->First();
    EXPECT_TRUE(table->Locate(u"Codigo"_qs, Int(codigo))) << codigo;
    EXPECT_EQ(code(), codigo);
    table->Last();
    EXPECT_TRUE(table->Locate(u"Codigo"_qs, Int(codigo))) << codigo << " from the last";
    EXPECT_EQ(code(), codigo);
    EXPECT_EQ(table->Lookup(u"Codigo"_qs, Int(codigo), u"Codigo"_qs).AsInt64(), codigo);
  }
  table->First();
  const int first = code();
  EXPECT_FALSE(table->Locate(u"Codigo"_qs, Int(499)));
  EXPECT_EQ(code(), first);
}

// Locate on the field the table is ordered by, against a walk of every
// record: the first one shown that matches, with and without case, among
// texts the engine may order otherwise than the system ('ña' before 'z').
TEST_F(LocateTest, ATextFieldOfTheOrderFindsTheFirstRecordAWalkFinds) {
  const QStringList pieces{u"z"_qs, u"Z"_qs, u"ña"_qs, u"Ña"_qs, u"na"_qs, u"a"_qs, u"á"_qs, u"A"_qs, u"ñ"_qs, u"zá"_qs};
  std::mt19937 random{75003};
  const auto name = [&] {
    QString text = pieces[static_cast<qsizetype>(random() % pieces.size())];
    if (random() % 2) text += pieces[static_cast<qsizetype>(random() % pieces.size())];
    return text;
  };
  QStringList rows;
  for (int codigo = 10; codigo < 310; ++codigo) rows << u"(%1, '%2')"_qs.arg(codigo).arg(name());
  data.Execute(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES "_qs + rows.join(u", "_qs));
  table->SetIndexFieldNames(u"Nombre"_qs);
  struct Shown {
    int codigo;
    QString nombre;
  };
  std::vector<Shown> walked;
  for (table->First(); !table->Eof(); table->Next())
    walked.push_back({code(), table->FieldByName(u"Nombre"_qs).AsString()});
  int found = 0;
  for (int check = 0; check < 400; ++check) {
    const QString wanted = name();
    const LocateOptions options = random() % 2 ? LocateOptions(loCaseInsensitive) : LocateOptions(0);
    const auto first = std::find_if(walked.begin(), walked.end(), [&](const Shown& shown) {
      return options ? Collation::Default().Compare(shown.nombre, wanted) == 0 : shown.nombre == wanted;
    });
    if (random() % 2) table->First(); else table->Last();
    const int before = code();
    const bool located = table->Locate(u"Nombre"_qs, Text(wanted), options);
    ASSERT_EQ(located, first != walked.end()) << wanted.toStdString() << " options " << options;
    EXPECT_EQ(code(), located ? first->codigo : before) << wanted.toStdString() << " options " << options;
    found += located;
  }
  EXPECT_GT(found, 100);
  EXPECT_LT(found, 400);
}

TEST(ClientDatasetTest, KeepsTheRowsOfTheQueryAfterItCloses) {
  DataFixture data;
  ClientDataset rows;
  EXPECT_EQ(EngineMessageOf([&] { rows.Open(); }), u"Missing data provider or data packet"_qs);
  EXPECT_FALSE(rows.Active());
  data.Execute(
      u"INSERT INTO CLIENTES (Codigo, Nombre, Saldo) VALUES (1, 'Ana', 5), (2, 'bruno', 7), (3, 'Álex', 9)"_qs);
  Query query;
  query.SetDatabaseName(data.DatabaseName());
  query.SQL().SetText(u"SELECT Codigo, Nombre, Saldo FROM CLIENTES WHERE Codigo > 0"_qs);
  rows.SetProviderDataSet(&query);
  query.Open();
  rows.Open();
  query.Close();
  data.Execute(u"DELETE FROM CLIENTES"_qs);

  EXPECT_EQ(Walk(rows, u"Codigo;Nombre"_qs), QStringList({u"1:Ana"_qs, u"2:bruno"_qs, u"3:Álex"_qs}));
  rows.SetIndexFieldNames(u"Nombre"_qs);
  EXPECT_EQ(Walk(rows, u"Nombre"_qs), QStringList({u"Álex"_qs, u"Ana"_qs, u"bruno"_qs}));
  rows.SetFilter(u"(Saldo >= '7')"_qs);
  rows.SetFiltered(true);
  EXPECT_EQ(Walk(rows, u"Codigo"_qs), QStringList({u"3"_qs, u"2"_qs}));
  EXPECT_TRUE(rows.Locate(u"Nombre"_qs, Text(u"BRUNO"_qs), loCaseInsensitive));
  EXPECT_TRUE(rows.FindKey({Text(u"alex"_qs)}));
  EXPECT_EQ(EngineMessageOf([&] { rows.Edit(); }), u"Cannot modify a read-only dataset"_qs);
  rows.SetFiltered(false);
  rows.SetFilter(QString());
  EXPECT_EQ(rows.RecordCount(), 3);

  rows.Close();  // opening again reads the provider again
  rows.Open();
  EXPECT_TRUE(rows.IsEmpty());
  EXPECT_FALSE(query.Active());
}

}  // namespace
