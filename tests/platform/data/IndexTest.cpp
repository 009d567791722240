#include "platform/Exceptions.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

// Documents 1 and 2, lines 1..3 of document 1 with a continuation row.
class IndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateLines(data);
    AddLine(data, 2, 1, 0, u"Tornillo"_qs);
    AddLine(data, 1, 3, 0, u"arandela"_qs);
    AddLine(data, 1, 1, 1, u"segunda línea de la 1"_qs);
    AddLine(data, 1, 1, 0, u"Álamo"_qs);
    AddLine(data, 1, 2, 0, u"Brida"_qs);
    table = data.OpenTable(u"LINEAS"_qs);
  }

  QString current() const {
    return QStringLiteral("%1:%2:%3")
        .arg(table->FieldByName(u"CodigoTemporal"_qs).AsString(), table->FieldByName(u"Linea"_qs).AsString(),
             table->FieldByName(u"LineaMemo"_qs).AsString());
  }

  DataFixture data;
  std::unique_ptr<Table> table;
};

TEST_F(IndexTest, TheDefinitionsComeFromTheTablePrimaryFirst) {
  ASSERT_EQ(table->IndexDefs().Count(), 2);
  EXPECT_EQ(table->IndexDefs()[0].Name, QString());
  EXPECT_EQ(table->IndexDefs()[0].Fields, u"CodigoTemporal;Linea;LineaMemo"_qs);
  EXPECT_TRUE(table->IndexDefs()[0].Options & ixPrimary);
  EXPECT_EQ(table->IndexDefs()[1].Name, u"Clave2"_qs);
  EXPECT_EQ(table->IndexDefs()[1].Fields, u"Texto;CodigoTemporal"_qs);
  EXPECT_EQ(table->IndexFieldCount(), 3);
  EXPECT_EQ(table->IndexFields(2).FieldName(), u"LineaMemo"_qs);
  // A closed table reads them on request.
  auto closed = data.NewTable(u"LINEAS"_qs);
  closed->UpdateIndexDefs();
  ASSERT_EQ(closed->IndexDefs().Count(), 2);
  EXPECT_EQ(closed->IndexDefs()[1].Fields, u"Texto;CodigoTemporal"_qs);
  closed->SetIndexName(u"Clave2"_qs);
  closed->Open();
  EXPECT_EQ(closed->FieldByName(u"Texto"_qs).AsString(), u"Álamo"_qs);
}

TEST_F(IndexTest, RecordsFollowTheChosenIndexWithTextUnderTheCollation) {
  EXPECT_EQ(Walk(*table, u"CodigoTemporal;Linea;LineaMemo"_qs),
            QStringList({u"1:1:0"_qs, u"1:1:1"_qs, u"1:2:0"_qs, u"1:3:0"_qs, u"2:1:0"_qs}));
  table->SetIndexName(u"Clave2"_qs);
  // Accents and case do not count: "Álamo" before "arandela" before "Brida".
  EXPECT_EQ(Walk(*table, u"Texto"_qs),
            QStringList({u"Álamo"_qs, u"arandela"_qs, u"Brida"_qs, u"segunda línea de la 1"_qs, u"Tornillo"_qs}));
  table->SetIndexFieldNames(u"Linea;CodigoTemporal"_qs);
  EXPECT_EQ(table->IndexName(), QString());
  EXPECT_EQ(Walk(*table, u"Linea;CodigoTemporal;LineaMemo"_qs),
            QStringList({u"1:1:0"_qs, u"1:1:1"_qs, u"1:2:0"_qs, u"2:1:0"_qs, u"3:1:0"_qs}));
  table->SetIndexName(QString());
  EXPECT_EQ(Walk(*table, u"CodigoTemporal;Linea"_qs).first(), u"1:1"_qs);
}

TEST_F(IndexTest, ChangingTheIndexKeepsTheCurrentRecordAndAnUnknownOneChangesNothing) {
  ASSERT_TRUE(table->FindKey({Int(1), Int(2)}));
  table->SetIndexName(u"Clave2"_qs);
  EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), u"Brida"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->SetIndexName(u"Clave9"_qs); }), u"Index does not exist"_qs);
  EXPECT_EQ(table->IndexName(), u"Clave2"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->SetIndexFieldNames(u"Texto;NoExiste"_qs); }),
            u"Field 'NoExiste' not found"_qs);
  EXPECT_EQ(table->IndexName(), u"Clave2"_qs);
}

TEST_F(IndexTest, FindKeyMatchesTheLeadingFieldsGiven) {
  struct Case {
    QList<Variant> key;
    bool found;
    const char* record;
  };
  const Case cases[] = {
      {{Int(1), Int(1), Int(1)}, true, "1:1:1"},
      {{Int(1), Int(1)}, true, "1:1:0"},  // the first of the two
      {{Int(2)}, true, "2:1:0"},
      {{Text(u"1"_qs), Text(u"3"_qs)}, true, "1:3:0"},  // texts read as the fields' types
      {{Int(1), Int(4)}, false, nullptr},
      {{Int(3)}, false, nullptr},
  };
  for (const Case& c : cases) {
    table->Last();
    EXPECT_EQ(table->FindKey(c.key), c.found);
    EXPECT_EQ(current(), QString::fromLatin1(c.found ? c.record : "2:1:0")) << "a failed search does not move";
  }
  EXPECT_THROW(table->FindKey({Text(u"uno"_qs)}), Exception) << "a value that is no number";
  EXPECT_EQ(current(), u"2:1:0"_qs);
}

TEST_F(IndexTest, FindKeyOnATextIndexIgnoresCaseAndAccents) {
  table->SetIndexName(u"Clave2"_qs);
  ASSERT_TRUE(table->FindKey({Text(u"ALAMO"_qs)}));
  EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), u"Álamo"_qs);
  ASSERT_TRUE(table->FindKey({Text(u"tornillo"_qs), Int(2)}));
  EXPECT_FALSE(table->FindKey({Text(u"tornillo"_qs), Int(1)}));
  table->FindNearest({Text(u"c"_qs)});
  EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), u"segunda línea de la 1"_qs);
  table->FindNearest({Text(u"z"_qs)});
  EXPECT_TRUE(table->Eof());
  table->SetRange({Text(u"a"_qs)}, {Text(u"BRIDA"_qs)});
  EXPECT_EQ(Walk(*table, u"Texto"_qs), QStringList({u"Álamo"_qs, u"arandela"_qs, u"Brida"_qs}));
}

TEST_F(IndexTest, GotoKeyUsesTheKeyOfSetKey) {
  table->SetKey();
  table->FieldByName(u"CodigoTemporal"_qs).SetAsInteger(1);
  table->FieldByName(u"Linea"_qs).SetAsInteger(3);
  table->FieldByName(u"LineaMemo"_qs).SetAsInteger(0);
  EXPECT_TRUE(table->GotoKey());
  EXPECT_EQ(table->State(), dsBrowse);
  EXPECT_EQ(current(), u"1:3:0"_qs);
  table->EditKey();
  table->FieldByName(u"Linea"_qs).SetAsInteger(2);
  EXPECT_TRUE(table->GotoKey());
  EXPECT_EQ(current(), u"1:2:0"_qs);
}

TEST_F(IndexTest, ATableWithoutIndexHasNoKeyToSearch) {
  data.Execute(u"CREATE TABLE SUELTA (Texto VARCHAR(10))"_qs);
  auto loose = data.OpenTable(u"SUELTA"_qs);
  EXPECT_EQ(EngineMessageOf([&] { loose->FindKey({Text(u"x"_qs)}); }), u"No index currently active"_qs);
  EXPECT_EQ(EngineMessageOf([&] { loose->SetRange({Text(u"a"_qs)}, {Text(u"b"_qs)}); }),
            u"No index currently active"_qs);
}

TEST_F(IndexTest, ARangeOnLeadingKeyFieldsShowsOnlyThem) {
  table->SetRange({Int(1)}, {Int(1)});
  EXPECT_EQ(table->RecordCount(), 4);
  EXPECT_EQ(current(), u"1:1:0"_qs);
  table->Last();  // the last key of the range
  EXPECT_EQ(current(), u"1:3:0"_qs);

  table->SetRange({Int(1), Int(1)}, {Int(1), Int(2)});
  EXPECT_EQ(Walk(*table, u"CodigoTemporal;Linea;LineaMemo"_qs), QStringList({u"1:1:0"_qs, u"1:1:1"_qs, u"1:2:0"_qs}));
  EXPECT_FALSE(table->FindKey({Int(2)})) << "searches stay inside the range";

  // A record posted outside the range leaves the view.
  AppendRecord(*table, {{u"CodigoTemporal"_qs, Int(5)}, {u"Linea"_qs, Int(1)}, {u"LineaMemo"_qs, Int(0)}});
  EXPECT_EQ(table->RecordCount(), 3);
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM LINEAS WHERE CodigoTemporal = 5"_qs).toInt(), 1);

  table->FindKey({Int(1), Int(2)});
  table->CancelRange();
  EXPECT_EQ(table->RecordCount(), 6);
  EXPECT_EQ(current(), u"1:2:0"_qs) << "cancelling keeps the current record";
  table->SetRange({Int(2)}, {Int(2)});
  ASSERT_EQ(table->RecordCount(), 1);
  table->Close();  // closing cancels the range
  table->Open();
  EXPECT_EQ(table->RecordCount(), 6);
}

}  // namespace
