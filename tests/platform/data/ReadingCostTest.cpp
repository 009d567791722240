// What saves work on every open and every read keeps the behaviour it saves.

#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/sql/Collation.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/Statement.h"
#include "tests/platform/controls/ShownGrid.h"
#include "tests/platform/data/CountsAsked.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <QApplication>
#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

TEST(ReadingCost, AnIndexOrdersByItsFieldsThenTheKeyWithoutSortingAndReadsBackAsDefined) {
  DataFixture data;
  auto table = data.NewTable(u"ARTICULOS"_qs);
  table->FieldDefs().Add(u"Codigo"_qs, ftInteger);
  table->FieldDefs().Add(u"Nombre"_qs, ftString, 20);
  table->IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
  table->IndexDefs().Add(u"PorNombre"_qs, u"Nombre"_qs, 0);
  table->IndexDefs().Add(u"PorNombreYCodigo"_qs, u"Nombre;Codigo"_qs, 0);
  table->CreateTable();
  data.Execute(u"INSERT INTO ARTICULOS VALUES (5, 'a'), (3, 'A'), (9, 'b'), (1, 'á')"_qs);
  data.Execute(u"CREATE INDEX ARTICULOS_PorSql ON ARTICULOS (Nombre, Codigo)"_qs);  // made by another road
  const auto connection = OpenConnection(data.File());
  Statement plan(*connection, QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM ARTICULOS ORDER BY "
                                                 "\"Nombre\" COLLATE \"%1\", \"Codigo\"")
                                      .arg(Collation::kDefaultName.toString()));
  while (plan.Step()) EXPECT_FALSE(plan.Column(3).toString().contains(u"TEMP B-TREE"_qs));
  table->SetIndexName(u"PorNombre"_qs);
  table->Open();
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), QStringList({u"1"_qs, u"3"_qs, u"5"_qs, u"9"_qs}));
  EXPECT_EQ(table->IndexDefs()[1].Fields, u"Nombre"_qs);
  EXPECT_EQ(table->IndexDefs()[2].Fields, u"Nombre;Codigo"_qs);
  EXPECT_EQ(table->IndexDefs()[3].Name + u'=' + table->IndexDefs()[3].Fields, u"PorSql=Nombre;Codigo"_qs);
}

TEST(ReadingCost, TheEngineConfigurationIsReadAgainAtEveryChange) {
  TemporaryFolder folder;
  Session session;
  session.SetConfigFile(folder.File(u"MOTORBD.CFG"_qs));
  const QDateTime written = QDateTime::currentDateTimeUtc().addSecs(-3600);
  // A rewrite of the same size an instant later, then a longer one at the same time.
  for (const auto& [text, later, alias] : {std::tuple{"[Databases\\VENTAS]\n", 0, "VENTAS"},
                                           std::tuple{"[Databases\\COMPRA]\n", 1, "COMPRA"},
                                           std::tuple{"[Databases\\COMPRAS]\n", 1, "COMPRAS"}}) {
    QFile file(session.ConfigFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) > 0 && file.flush());
    ASSERT_TRUE(file.setFileTime(written.addSecs(later), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(session.GetAliasNames(), QStringList(QString::fromLatin1(alias)));
  }
  ASSERT_TRUE(QFile::remove(session.ConfigFile()));
  EXPECT_TRUE(session.GetAliasNames().isEmpty());
}

namespace {

struct Change {
  const char* what;
  std::function<void(DataFixture&, Table&)> make;
  int shift;  // of the records and of the current record's place
};

}  // namespace

// A grid asks for the count and the place at every refresh: the engine
// counts again only once the data may have changed, whoever changed it.
TEST(ReadingCost, AGridRefreshedCountsAgainOnlyWhatChanged) {
  constexpr int kRecords = 20000;
  DataFixture data;
  data.Execute(u"WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 2 FROM n WHERE i < %1) "
               "INSERT INTO CLIENTES (Codigo, Nombre) SELECT i, 'Cliente ' || i FROM n"_qs.arg(2 * kRecords));
  auto table = data.OpenTable(u"CLIENTES"_qs);
  ShownGrid shown(*table);
  DBGrid& grid = shown.grid;
  ASSERT_TRUE(table->FindKey({Variant::Integer(24690)}));
  QApplication::processEvents();
  ASSERT_EQ(grid.model()->rowCount(), kRecords);
  ASSERT_EQ(table->RecNo(), 12345);
  const auto insertFirst = u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'Nuevo')"_qs;
  const auto refreshed = [&grid](Table& t) {
    t.Refresh();
    QApplication::processEvents();
    return grid.model()->rowCount();
  };
  const Change changes[] = {
      {"nothing", [](DataFixture&, Table&) {}, 0},
      {"another connection's insert",
       [&](DataFixture& d, Table&) {
         sqlite3* other = nullptr;
         ASSERT_EQ(sqlite3_open(d.File().toUtf8().constData(), &other), SQLITE_OK);
         sqlite3_busy_timeout(other, 5000);
         EXPECT_EQ(sqlite3_exec(other, insertFirst.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
         sqlite3_close(other);
       },
       1},
      {"a delete through the same connection",
       [](DataFixture& d, Table&) { d.Execute(u"DELETE FROM CLIENTES WHERE Codigo = 1"_qs); }, -1},
      {"a transaction counted, then rolled back",
       [&](DataFixture& d, Table& t) {
         d.Connection()->StartTransaction();
         d.Execute(insertFirst);
         EXPECT_EQ(refreshed(t), kRecords + 1);
         d.Connection()->Rollback();
       },
       0},
      {"a savepoint counted, then rolled back",
       [&](DataFixture& d, Table& t) {
         d.Execute(u"BEGIN; SAVEPOINT s; "_qs + insertFirst);
         EXPECT_EQ(refreshed(t), kRecords + 1);
         d.Execute(u"ROLLBACK TO s; RELEASE s; COMMIT"_qs);
       },
       0},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    if (DataFixture::ThroughOdbc() && std::strstr(change.what, "savepoint")) continue;
    const int records = grid.model()->rowCount();
    const int place = table->RecNo();
    change.make(data, *table);
    std::optional<CountsAsked> asked;
    if (!DataFixture::ThroughOdbc()) asked.emplace(data.File());
    EXPECT_EQ(refreshed(*table), records + change.shift);
    EXPECT_EQ(table->RecNo(), place + change.shift);
    EXPECT_EQ(table->FieldByName(u"Codigo"_qs).AsInteger(), 24690);
    if (asked && std::strcmp(change.what, "nothing") == 0) {
      EXPECT_EQ(asked->Counts(), 0);
    }
  }
  // Read on from the record counted either way, the places follow from its own.
  std::optional<CountsAsked> asked;
  if (!DataFixture::ThroughOdbc()) asked.emplace(data.File());
  const int place = table->RecNo();
  EXPECT_EQ(table->MoveBy(-3000), -3000);
  EXPECT_EQ(table->RecNo(), place - 3000);
  for (int i = 0; i < 8000; ++i) table->Next();
  EXPECT_EQ(table->RecNo(), place + 5000);
  EXPECT_EQ(table->FieldByName(u"Codigo"_qs).AsInteger(), 24690 + 2 * 5000);
  if (asked) {
    EXPECT_EQ(asked->Counts(), 0);
  }
}

// A move is told only while someone listens: whatever sources came and went
// before (each destroyed while connected), those connected now hear it.
TEST(ReadingCost, AMoveIsToldToWhoeverListensAfterOthersCameAndWent) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  data.AddCustomer(2, u"Luis"_qs);
  auto table = data.OpenTable(u"CLIENTES"_qs);
  {
    std::vector<std::unique_ptr<DataSource>> gone;
    for (int i = 0; i < 1000; ++i) {
      gone.push_back(std::make_unique<DataSource>());
      gone.back()->SetDataSet(table.get());
    }
  }
  int toldSource = 0, toldDirectly = 0;
  DataSource source;
  source.SetDataSet(table.get());
  QObject::connect(&source, &DataSource::DataChange, [&](Field*) { ++toldSource; });
  const auto direct = QObject::connect(table.get(), &Dataset::DataChanged, [&](Field*) { ++toldDirectly; });
  table->Next();
  EXPECT_EQ(toldSource, 1);
  EXPECT_EQ(toldDirectly, 1);
  QObject::disconnect(direct);
  table->Prior();
  EXPECT_EQ(toldSource, 2);
  EXPECT_EQ(toldDirectly, 1);
}
