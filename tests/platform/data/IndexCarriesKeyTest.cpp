// A non-unique index created by a table carries the key after its fields: the
// engine then walks the dataset's order without sorting, and the definitions
// read back are those the table was created with.

#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/sql/Collation.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/Statement.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

struct IndexCase {
  const char* name;
  const char* fields;
  unsigned options;
};

const IndexCase kIndexes[] = {
    {"PorNombre", "Nombre", 0},
    {"PorNombreYCodigo", "Nombre;Codigo", 0},
    {"PorGrupo", "Grupo;Nombre", 0},
    {"Unico", "Grupo;Codigo", ixUnique},
    {"Bajando", "Grupo", ixDescending},
};

class IndexCarriesKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto table = data.NewTable(u"ARTICULOS"_qs);
    table->FieldDefs().Add(u"Codigo"_qs, ftInteger);
    table->FieldDefs().Add(u"Nombre"_qs, ftString, 20);
    table->FieldDefs().Add(u"Grupo"_qs, ftInteger);
    table->IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
    for (const IndexCase& index : kIndexes)
      table->IndexDefs().Add(QString::fromLatin1(index.name), QString::fromLatin1(index.fields), index.options);
    table->CreateTable();
    // Row ids against the key: equal names must still come in key order.
    for (int codigo : {5, 3, 9, 1})
      data.Execute(QStringLiteral("INSERT INTO ARTICULOS VALUES (%1, '%2', %3)")
                       .arg(codigo)
                       .arg(codigo == 9 ? u"Bisagra"_qs : u"arandela"_qs)
                       .arg(codigo % 3));
  }

  QString planOf(const QString& order) const {
    auto connection = OpenConnection(data.File());
    Statement plan(*connection, u"EXPLAIN QUERY PLAN SELECT * FROM ARTICULOS ORDER BY "_qs + order);
    QStringList details;
    while (plan.Step()) details.append(plan.Column(3).toString());
    return details.join(u" | ");
  }

  DataFixture data;
};

TEST_F(IndexCarriesKeyTest, DefinitionsReadBackAsCreated) {
  auto table = data.OpenTable(u"ARTICULOS"_qs);
  ASSERT_EQ(table->IndexDefs().Count(), static_cast<int>(std::size(kIndexes)) + 1);
  for (const IndexCase& index : kIndexes) {
    SCOPED_TRACE(index.name);
    const auto found = std::find_if(table->IndexDefs().begin(), table->IndexDefs().end(),
                                    [&index](const IndexDef& def) { return def.Name == QLatin1String(index.name); });
    ASSERT_NE(found, table->IndexDefs().end());
    EXPECT_EQ(found->Fields, QString::fromLatin1(index.fields));
    EXPECT_EQ(found->Options & (ixUnique | ixDescending), index.options);
  }
}

TEST_F(IndexCarriesKeyTest, TheEngineWalksTheIndexFieldsThenTheKeyWithoutSorting) {
  const QString collate = QStringLiteral(" COLLATE \"%1\"").arg(Collation::kDefaultName.toString());
  for (const QString& order : {u"\"Nombre\""_qs + collate + u", \"Codigo\""_qs,
                               u"\"Grupo\", \"Nombre\""_qs + collate + u", \"Codigo\""_qs}) {
    const QString plan = planOf(order);
    EXPECT_FALSE(plan.contains(u"TEMP B-TREE"_qs)) << plan.toStdString();
  }
  auto table = data.OpenTable(u"ARTICULOS"_qs);
  table->SetIndexName(u"PorNombre"_qs);
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), QStringList({u"1"_qs, u"3"_qs, u"5"_qs, u"9"_qs}));
  table->SetIndexName(u"PorGrupo"_qs);
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), QStringList({u"3"_qs, u"9"_qs, u"1"_qs, u"5"_qs}));
}

}  // namespace
