// What saves work on every open and every read keeps the behaviour it saves.

#include "platform/data/Session.h"
#include "platform/sql/Collation.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/Statement.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <QFile>

#include <gtest/gtest.h>

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
