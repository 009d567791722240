#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char16_t* filter;
  FilterOptions options;
  const char* codes;
};

class FilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.Execute(
        u"INSERT INTO CLIENTES (Codigo, Nombre, Alta, Saldo) VALUES "
        "(1, 'Ana García', '2024-02-01 00:00:00', 100.5), (2, 'ÁLVARO', '2024-03-15 00:00:00', -20), "
        "(3, 'Luis', '2024-02-01 10:30:00', NULL), (4, 'O''Brien', '2023-12-31 00:00:00', 0), "
        "(5, NULL, NULL, 1000)"_qs);
    table = data.OpenTable(u"CLIENTES"_qs);
  }

  QString codesFor(const QString& filter, FilterOptions options = 0) {
    table->SetFiltered(false);
    table->SetFilterOptions(options);
    table->SetFilter(filter);
    table->SetFiltered(true);
    return Walk(*table, u"Codigo"_qs).join(u',');
  }

  // Each filter, with its options, shows exactly the customers listed.
  template <std::size_t N>
  void expectCodes(const Case (&cases)[N]) {
    for (const Case& c : cases)
      EXPECT_EQ(codesFor(QString::fromUtf16(c.filter), c.options), QString::fromLatin1(c.codes))
          << QString::fromUtf16(c.filter).toStdString() << " options " << c.options;
  }

  DataFixture data;
  std::unique_ptr<Table> table;
};

TEST_F(FilterTest, ConditionsOnTextNumbersAndDates) {
  const Case cases[] = {
      {u"(Codigo >= '3')", 0, "3,4,5"},
      // As the filter dialog writes its lines.
      {u"(Codigo >= '2') AND\r\n(Saldo < '50')", 0, "2,4"},
      {u"(Codigo >= '2') AND (Codigo <= '4')", 0, "2,3,4"},
      {u"(Saldo = '100,5')", 0, "1"},
      {u"(Saldo > '100')", 0, "1,5"},
      {u"Saldo > 100.25", 0, "1,5"},
      {u"(Saldo <> '0')", 0, "1,2,5"},  // an empty amount compares with nothing
      {u"(Alta = '01/02/2024')", 0, "1"},
      {u"(Alta >= '01/02/2024') AND (Alta < '02/02/2024')", 0, "1,3"},
      {u"(Alta < '1/1/2024')", 0, "4"},
      {u"'2' <= Codigo", 0, "2,3,4,5"},
      {u"(Nombre = 'Luis')", 0, "3"},
      {u"(Nombre = 'luis')", 0, ""},
      {u"(Nombre = 'luis')", foCaseInsensitive, "3"},
      {u"(Nombre = 'ANA GARCIA')", foCaseInsensitive, "1"},
      {u"(Nombre = 'Álvaro')", foCaseInsensitive, "2"},
      {u"(Nombre >= 'B')", 0, "3,4"},  // sorted as the collation sorts: "ÁLVARO" before "B"
      {u"(Nombre = '')", 0, "5"},
      {u"(Nombre = 'O''Brien')", 0, "4"},
      {u"[Nombre] = 'Luis'", 0, "3"},
      {u"\"Nombre\" = 'Luis' OR nombre = 'Ana García'", 0, "1,3"},
      // A quoted value ending in a star is a prefix.
      {u"(Nombre = 'A*')", 0, "1"},
      {u"(Nombre = 'A*')", foCaseInsensitive, "1,2"},
      {u"(Nombre = 'á*')", foCaseInsensitive, "1,2"},
      {u"(Nombre <> 'L*')", 0, "1,2,4,5"},
      {u"(Nombre = 'A*')", foNoPartialCompare, ""},
      {u"(Nombre = '*')", 0, "1,2,3,4,5"},
  };
  expectCodes(cases);
}

TEST_F(FilterTest, NotAndOrTakeTheirUsualPrecedence) {
  const Case cases[] = {
      {u"NOT (Codigo = '1') AND (Codigo < '4')", 0, "3,2"},
      {u"NOT ((Codigo = '1') OR (Codigo = '2'))", 0, "3,4,5"},
      {u"(Codigo = '1') OR (Codigo = '2') AND (Codigo = '3')", 0, "1"},
      {u"((Codigo = '1') OR (Codigo = '2')) AND (Codigo = '2')", 0, "2"},
      {u"not (Nombre = 'L*') and (Saldo >= '0')", 0, "4,1,5"},
  };
  table->SetIndexFieldNames(u"Saldo"_qs);  // shown in the index's order, an empty amount first
  expectCodes(cases);
}

TEST_F(FilterTest, AValueHoldingQuotesOrSqlChangesOnlyTheMatch) {
  EXPECT_EQ(codesFor(u"(Nombre = 'x'' OR ''1''=''1')"_qs), QString());
  EXPECT_EQ(codesFor(u"(Nombre = 'a; DROP TABLE CLIENTES; --')"_qs), QString());
  EXPECT_EQ(codesFor(u"(Nombre = 'Luis'' --')"_qs), QString());
  // Pasted without doubling its quotes, as the dialogs paste values, the
  // value makes the expression malformed.
  table->SetFiltered(false);
  table->SetFilter(u"(Nombre = 'x' OR '1'='1')"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->SetFiltered(true); }), u"Type mismatch in expression"_qs);
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM CLIENTES"_qs).toInt(), 5);
}

TEST_F(FilterTest, AMalformedExpressionRaisesTheEnginesText) {
  const QString tooDeep = QString(40000, u'(') + u"Codigo = '1'"_qs + QString(40000, u')');
  const QString tooLong = u"Codigo = '1' OR "_qs.repeated(700000) + u"Codigo = '2'"_qs;
  const struct {
    QString filter;
    QString message;
  } cases[] = {
      {u"(Codigo >= '1'"_qs, u"')' expected but nothing found"_qs},
      {u"(Codigo >= '1') AND"_qs, u"Expression expected but nothing found"_qs},
      {u"(Codigo >= '1'))"_qs, u"Filter expression incorrectly terminated"_qs},
      {u"(Nombre = 'O'Brien')"_qs, u"')' expected but 'Brien' found"_qs},
      {u"(Nombre = 'abc)"_qs, u"Unterminated string constant"_qs},
      {u"[Nombre = 'x'"_qs, u"Unterminated field name"_qs},
      {u"(Codigo = 'abc')"_qs, u"Type mismatch in expression"_qs},
      {u"(Alta = '31/02/2024')"_qs, u"Type mismatch in expression"_qs},
      {u"(Codigo = Nombre)"_qs, u"Type mismatch in expression"_qs},
      {u"('1' = '1')"_qs, u"Type mismatch in expression"_qs},
      {u"(NoExiste = '1')"_qs, u"Field 'NoExiste' not found"_qs},
      {u"(Codigo # '1')"_qs, u"Invalid filter expression character: '#'"_qs},
      {u"(Nombre)"_qs, u"Field 'Nombre' is not of type Boolean"_qs},
      {tooDeep, u"Filter expression too complex"_qs},
      {u"NOT "_qs.repeated(40000) + u"Codigo = '1'"_qs, u"Filter expression too complex"_qs},
      {tooLong, u"Filter expression too complex"_qs},
  };
  for (const auto& c : cases) {
    table->SetFiltered(false);
    table->SetFilter(c.filter);
    EXPECT_EQ(EngineMessageOf([&] { table->SetFiltered(true); }), c.message) << c.filter.left(60).toStdString();
    EXPECT_FALSE(table->Filtered());
    EXPECT_EQ(table->RecordCount(), 5);
  }
  // Long chains and deep nesting within the limits work as written.
  EXPECT_EQ(codesFor(u"Codigo = '9' OR "_qs.repeated(5000) + u"Codigo = '3' OR Codigo = '5'"_qs), u"3,5"_qs);
  EXPECT_EQ(codesFor(u"Codigo > '1' AND "_qs.repeated(5000) + u"NOT Codigo = '3' AND Codigo < '5'"_qs), u"2,4"_qs);
  EXPECT_EQ(codesFor(QString(200, u'(') + u"Codigo = '4'"_qs + QString(200, u')')), u"4"_qs);
}

TEST_F(FilterTest, ARejectedExpressionLeavesTheFilterAsItWas) {
  codesFor(u"(Codigo >= '4')"_qs);
  EXPECT_FALSE(EngineMessageOf([&] { table->SetFilter(u"(Codigo >= "_qs); }).isEmpty());
  EXPECT_EQ(table->Filter(), u"(Codigo >= '4')"_qs);
  EXPECT_TRUE(table->Filtered());
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), QStringList({u"4"_qs, u"5"_qs}));
  // Quick filters add conditions to the current text.
  table->SetFiltered(false);
  table->SetFilter(table->Filter() + u" AND (Codigo <= '4')"_qs);
  table->SetFiltered(true);
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), QStringList({u"4"_qs}));
  table->SetFiltered(false);
  EXPECT_EQ(table->RecordCount(), 5);
}

TEST_F(FilterTest, FilterRecordEventJoinsTheExpression) {
  table->OnFilterRecord = [](Dataset& dataset, bool& accept) {
    EXPECT_EQ(dataset.State(), dsFilter);
    accept = dataset.FieldByName(u"Codigo"_qs).AsInteger() % 2 == 1;
  };
  EXPECT_EQ(codesFor(QString()), u"1,3,5"_qs);
  EXPECT_EQ(codesFor(u"(Codigo > '1')"_qs), u"3,5"_qs);
  EXPECT_EQ(table->State(), dsBrowse);
}

TEST_F(FilterTest, AFilterSetBeforeOpeningAppliesAtOpening) {
  auto other = data.NewTable(u"CLIENTES"_qs);
  other->SetFilter(u"(Saldo < '0')"_qs);
  other->SetFiltered(true);
  other->Open();
  EXPECT_EQ(Walk(*other, u"Codigo"_qs), QStringList({u"2"_qs}));
  other->Close();
  other->SetFilter(u"(Saldo < "_qs);
  EXPECT_FALSE(EngineMessageOf([&] { other->Open(); }).isEmpty());
  EXPECT_FALSE(other->Active());
}

TEST_F(FilterTest, ARecordEditedOutOfTheFilterLeavesTheView) {
  codesFor(u"(Saldo >= '0')"_qs);
  ASSERT_TRUE(table->Locate(u"Codigo"_qs, Int(4)));
  EditRecord(*table, {{u"Saldo"_qs, Variant::Double(-1)}});
  EXPECT_EQ(table->FieldByName(u"Codigo"_qs).AsInteger(), 5) << "the next record becomes current";
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), QStringList({u"1"_qs, u"5"_qs}));
  EXPECT_EQ(data.Scalar(u"SELECT Saldo FROM CLIENTES WHERE Codigo = 4"_qs).toDouble(), -1.0);
}

}  // namespace

// A table filtered by the event, changed by a statement on the datasets'
// own connection, then refreshed wherever its current record stood: both
// walks and the count show every record the event accepts, in the order of
// the key or of an index the statement changes.
TEST(FilterRefresh, AStatementOnTheConnectionThenRefreshLeavesNoAcceptedRecordOut) {
  const char16_t* statements[] = {
      u"UPDATE T SET Nombre = Nombre || 'x'",
      u"UPDATE T SET Saldo = -1 WHERE Codigo % 7 = 0",
      u"UPDATE T SET Saldo = 5 WHERE Codigo % 7 = 0",
      u"UPDATE T SET Nombre = 'zz' || Nombre WHERE Codigo % 5 = 0",
      u"UPDATE T SET Nombre = 'a' || Nombre WHERE Codigo % 3 = 0",
      u"UPDATE T SET Saldo = Saldo + 1 WHERE Codigo > 1500",
      u"UPDATE T SET Codigo = Codigo + 2000 WHERE Codigo % 4 = 0",
      u"DELETE FROM T WHERE Codigo % 11 = 0",
  };
  for (const char* rowIds : {"", " WITHOUT ROWID"})
    for (const char* index : {"", "PorNombre"})
      for (const int place : {0, 6, 800, -1}) {  // -1: past the last, as a walk leaves it
        SCOPED_TRACE(std::string(rowIds) + " " + index + " " + std::to_string(place));
        DataFixture data;
        data.Execute(u"CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, Saldo FLOAT, PRIMARY KEY (Codigo))%1; "
                     "CREATE INDEX T_PorNombre ON T (Nombre); "
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1565) "
                     "INSERT INTO T SELECT i, printf('c%05d', (i * 7919) % 1565), 1 FROM n"_qs.arg(QString::fromLatin1(rowIds)));
        auto table = data.OpenTable(u"T"_qs);
        table->SetIndexName(QString::fromLatin1(index));
        table->OnFilterRecord = [](Dataset& dataset, bool& accept) {
          accept = dataset.FieldByName(u"Saldo"_qs).AsFloat() >= 0;
        };
        table->SetFiltered(true);
        const QString order = *index ? u"Nombre, Codigo"_qs : u"Codigo"_qs;
        for (const char16_t* statement : statements) {
          SCOPED_TRACE(QString::fromUtf16(statement).toStdString());
          Walk(*table, u"Codigo"_qs);
          if (place >= 0) {
            table->First();
            table->MoveBy(place);
          }
          data.Execute(QString::fromUtf16(statement));
          table->Refresh();
          const QStringList expected =
              data.Scalar(u"SELECT group_concat(Codigo, ',') FROM (SELECT Codigo FROM T WHERE Saldo >= 0 ORDER BY %1)"_qs.arg(order))
                  .toString()
                  .split(u',');
          ASSERT_EQ(table->RecordCount(), expected.size());
          ASSERT_EQ(Walk(*table, u"Codigo"_qs), expected);
          QStringList backwards;
          for (table->Last(); !table->Bof(); table->Prior()) backwards.prepend(table->FieldByName(u"Codigo"_qs).AsString());
          ASSERT_EQ(backwards, expected);
          ASSERT_EQ(table->RecordCount(), expected.size());
        }
      }
}
