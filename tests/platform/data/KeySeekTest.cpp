// Searches and walks on keys of several fields: every statement a table
// runs finds its place through the index on each field it names, however
// many records share the leading ones, and reads them in the index's order.

#include "platform/data/Field.h"
#include "platform/sql/Collation.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/Statement.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// The SELECT statements the datasets run on a table of a file while it lives.
class StatementsSeen {
 public:
  StatementsSeen(const QString& file, const char* table) : connection_(OpenConnection(file)), table_(table) {
    sqlite3_trace_v2(connection_->Handle(), SQLITE_TRACE_STMT, &StatementsSeen::seen, this);
  }
  ~StatementsSeen() { sqlite3_trace_v2(connection_->Handle(), 0, nullptr, nullptr); }
  const QStringList& Selects() const { return selects_; }
  void Clear() { selects_.clear(); }
  // The engine's plan of a statement seen, its steps joined by "|".
  QString Plan(const QString& select) const {
    Statement plan(*connection_, QStringLiteral("EXPLAIN QUERY PLAN ") + select);
    QStringList steps;
    while (plan.Step()) steps.append(plan.Column(3).toString());
    return steps.join(u'|');
  }

 private:
  static int seen(unsigned, void* context, void*, void* sql) {
    auto* seen = static_cast<StatementsSeen*>(context);
    const QString text = QString::fromUtf8(static_cast<const char*>(sql));
    if (text.startsWith(u"SELECT") && text.contains(QLatin1String(seen->table_)) && !text.contains(u"COUNT("))
      seen->selects_.append(text);
    return 0;
  }
  std::shared_ptr<Connection> connection_;
  const char* table_;
  QStringList selects_;
};

const QString kCollate = QStringLiteral(" COLLATE \"%1\"").arg(Collation::kDefaultName.toString());

// TXIDIOMA as the embedded server keeps it: text under the collation, the
// key of three fields (text, text, integer), no row ids; an index of two
// fields (text, integer) whose values repeat and may be NULL, and one of
// the integer alone, which the key follows.
void CreateTexts(const DataFixture& data) {
  data.Execute(QStringLiteral("CREATE TABLE TXIDIOMA (Idioma VARCHAR(3)%1 NOT NULL, Texto VARCHAR(40)%1 NOT NULL, "
                              "Numero INTEGER NOT NULL, Grupo VARCHAR(10)%1, Orden INTEGER, "
                              "PRIMARY KEY (Idioma, Texto, Numero)) WITHOUT ROWID")
                   .arg(kCollate));
  data.Execute(u"CREATE INDEX TXIDIOMA_PorGrupo ON TXIDIOMA (Grupo, Orden, Idioma, Texto, Numero)"_qs);
  data.Execute(u"CREATE INDEX TXIDIOMA_PorOrden ON TXIDIOMA (Orden)"_qs);
  data.Execute(u"BEGIN"_qs);
  // Two languages of 400 texts, three numbers each; "Ñandú" and accented
  // texts sort among the others under the collation.
  for (const char* idioma : {"ESP", "ING"})
    for (int texto = 0; texto < 400; ++texto)
      for (int numero = 1; numero <= 3; ++numero) {
        const QString grupo = texto % 7 == 0 ? u"NULL"_qs : QStringLiteral("'g%1'").arg(texto % 3 == 0 ? u"á"_qs : u"B"_qs);
        const QString orden = texto % 5 == 0 ? u"NULL"_qs : QString::number(texto % 4);
        data.Execute(QStringLiteral("INSERT INTO TXIDIOMA VALUES ('%1', '%2%3', %4, %5, %6)")
                         .arg(QString::fromLatin1(idioma), texto % 2 ? u"Ñandú "_qs : u"texto "_qs)
                         .arg(texto, 3, 10, QChar(u'0'))
                         .arg(numero)
                         .arg(grupo, orden));
      }
  data.Execute(u"COMMIT"_qs);
}

class KeySeekTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateTexts(data);
    table = data.OpenTable(u"TXIDIOMA"_qs);
  }
  QString current() const {
    return QStringLiteral("%1:%2:%3")
        .arg(table->FieldByName(u"Idioma"_qs).AsString(), table->FieldByName(u"Texto"_qs).AsString(),
             table->FieldByName(u"Numero"_qs).AsString());
  }
  // Every statement the action runs seeks through an index, none sorts, and
  // the first one seeks on every field named.
  void expectSeeks(const std::function<void()>& action, const QStringList& named, const char* what) {
    seen.Clear();
    action();
    ASSERT_FALSE(seen.Selects().isEmpty()) << what;
    for (const QString& select : seen.Selects()) {
      const QString plan = seen.Plan(select);
      EXPECT_TRUE(plan.startsWith(u"SEARCH"_qs)) << what << ": " << qPrintable(plan) << "\n" << qPrintable(select);
      EXPECT_FALSE(plan.contains(u"TEMP B-TREE"_qs)) << what << ": " << qPrintable(plan);
    }
    const QString first = seen.Plan(seen.Selects().front());
    for (const QString& field : named)
      EXPECT_TRUE(first.contains(field + u'=') || first.contains(field + u'>') || first.contains(field + u'<'))
          << what << ": " << qPrintable(field) << " in " << qPrintable(first);
  }

  DataFixture data;
  std::unique_ptr<Table> table;
  StatementsSeen seen{data.File(), "TXIDIOMA"};
};

TEST_F(KeySeekTest, SearchesOnEveryFieldOfTheKeySeekThroughTheIndex) {
  if (DataFixture::ThroughOdbc()) GTEST_SKIP() << "the plan is asked of the file's own connection";
  const QStringList key{u"Idioma"_qs, u"Texto"_qs, u"Numero"_qs};
  expectSeeks([&] { EXPECT_TRUE(table->FindKey({Text(u"ING"_qs), Text(u"ñandu 301"_qs), Int(2)})); }, key,
              "FindKey of three fields");
  EXPECT_EQ(current(), u"ING:Ñandú 301:2"_qs);
  expectSeeks([&] { EXPECT_TRUE(table->FindKey({Text(u"esp"_qs), Text(u"TEXTO 398"_qs)})); }, key.mid(0, 2),
              "FindKey of two fields");
  EXPECT_EQ(current(), u"ESP:texto 398:1"_qs);
  expectSeeks([&] { table->FindNearest({Text(u"ESP"_qs), Text(u"texto 3985"_qs), Int(1)}); }, key, "FindNearest");
  EXPECT_EQ(current(), u"ING:Ñandú 001:1"_qs) << "past the last text of ESP, the first of ING";
  table->Next();
  EXPECT_EQ(current(), u"ING:Ñandú 001:2"_qs);
  expectSeeks([&] { table->SetRange({Text(u"ING"_qs), Text(u"texto 100"_qs)}, {Text(u"ING"_qs), Text(u"texto 104"_qs)}); },
              key.mid(0, 2), "a range on two fields");
  EXPECT_EQ(table->RecordCount(), 9);
  EXPECT_EQ(current(), u"ING:texto 100:1"_qs);
  table->CancelRange();

  table->SetIndexName(u"PorGrupo"_qs);
  expectSeeks([&] { EXPECT_TRUE(table->FindKey({Text(u"GA"_qs), Int(3)})); }, {u"Grupo"_qs, u"Orden"_qs},
              "FindKey on another index");
  EXPECT_EQ(table->FieldByName(u"Grupo"_qs).AsString() + table->FieldByName(u"Orden"_qs).AsString(), u"gá3"_qs);
  table->SetIndexName(u"PorOrden"_qs);
  expectSeeks([&] { EXPECT_TRUE(table->FindKey({Int(2)})); }, {u"Orden"_qs}, "FindKey on an index the key follows");
  EXPECT_EQ(current(), u"ESP:texto 002:1"_qs);
}

// The order the engine must show: the index's fields under the collation,
// NULL first, then the key.
QStringList Sorted(const DataFixture& data, const QStringList& fields) {
  QList<QStringList> rows;
  for (const QString& line : data.Scalar(u"SELECT group_concat(IFNULL(Grupo, '~') || '\t' || IFNULL(Orden, '~') || '\t' || "
                                         u"Idioma || '\t' || Texto || '\t' || Numero, '\n') FROM TXIDIOMA"_qs)
                                 .toString()
                                 .split(u'\n'))
    rows.append(line.split(u'\t'));
  const QStringList columns{u"Grupo"_qs, u"Orden"_qs, u"Idioma"_qs, u"Texto"_qs, u"Numero"_qs};
  std::stable_sort(rows.begin(), rows.end(), [&](const QStringList& a, const QStringList& b) {
    for (const QString& field : fields) {
      const qsizetype i = columns.indexOf(field);
      if (a[i] == b[i]) continue;
      if (a[i] == u"~" || b[i] == u"~") return a[i] == u"~";
      if (field == u"Orden" || field == u"Numero") return a[i].toInt() < b[i].toInt();
      if (const int order = Collation::Default().Compare(a[i], b[i]); order != 0) return order < 0;
    }
    return false;
  });
  QStringList shown;
  for (const QStringList& row : rows) {
    QStringList values;
    for (const QString& field : fields) values.append(row[columns.indexOf(field)] == u"~" ? QString() : row[columns.indexOf(field)]);
    shown.append(values.join(u':'));
  }
  return shown;
}

// A search for a record reads that record alone: one statement, whether or
// not others share the leading fields, and the walk goes on from it. A
// Locate reads on to where the equal records end.
TEST_F(KeySeekTest, ASearchForARecordReadsItAloneWithOneStatement) {
  struct Case {
    const char* what;
    std::function<void()> search;
    const char* found;
    const char* next;
  };
  const Case cases[] = {
      {"FindKey, the last number of its text", [&] { EXPECT_TRUE(table->FindKey({Text(u"ING"_qs), Text(u"ñandu 301"_qs), Int(3)})); },
       "ING:Ñandú 301:3", "ING:Ñandú 303:1"},
      {"FindKey, the first number of its text", [&] { EXPECT_TRUE(table->FindKey({Text(u"esp"_qs), Text(u"TEXTO 398"_qs), Int(1)})); },
       "ESP:texto 398:1", "ESP:texto 398:2"},
      {"GotoKey", [&] {
         table->SetKey();
         table->FieldByName(u"Idioma"_qs).SetAsString(u"ING"_qs);
         table->FieldByName(u"Texto"_qs).SetAsString(u"TEXTO 396"_qs);
         table->FieldByName(u"Numero"_qs).SetAsInteger(3);
         EXPECT_TRUE(table->GotoKey());
       },
       "ING:texto 396:3", "ING:texto 398:1"},
  };
  for (const Case& c : cases) {
    table->First();
    seen.Clear();
    c.search();
    EXPECT_EQ(seen.Selects().size(), 1) << c.what << ": " << qPrintable(seen.Selects().join(u'\n'));
    EXPECT_EQ(current(), QString::fromUtf8(c.found)) << c.what;
    table->Next();
    EXPECT_EQ(current(), QString::fromUtf8(c.next)) << c.what;
  }
  table->First();
  EXPECT_TRUE(table->Locate(u"Idioma;Texto"_qs, Variant::Array({Text(u"ING"_qs), Text(u"Ñandú 301"_qs)})));
  EXPECT_EQ(current(), u"ING:Ñandú 301:1"_qs);
  EXPECT_FALSE(table->FindKey({Text(u"ING"_qs), Text(u"Ñandú 301"_qs), Int(4)}));
  EXPECT_EQ(current(), u"ING:Ñandú 301:1"_qs) << "a key not found leaves the record where it was";
}

TEST_F(KeySeekTest, WalksBothWaysShowEveryRecordOnceInTheIndexOrder) {
  for (const auto& [index, fields] :
       {std::pair{QString(), u"Idioma;Texto;Numero"_qs}, std::pair{u"PorGrupo"_qs, u"Grupo;Orden;Idioma;Texto;Numero"_qs},
        std::pair{u"PorOrden"_qs, u"Orden;Idioma;Texto;Numero"_qs}}) {
    table->SetIndexName(index);
    const QStringList expected = Sorted(data, fields.split(u';'));
    ASSERT_EQ(expected.size(), 2400);
    EXPECT_EQ(Walk(*table, fields), expected) << qPrintable(fields);
    QStringList backwards;
    for (table->Last(); !table->Bof(); table->Prior()) {
      QStringList values;
      for (const QString& name : fields.split(u';')) values.append(table->FieldByName(name).AsString());
      backwards.prepend(values.join(u':'));
    }
    EXPECT_EQ(backwards, expected) << qPrintable(fields);
  }
}

TEST_F(KeySeekTest, ARangeWithEqualLeadingFieldsAndNullsShowsExactlyItsRecords) {
  table->SetIndexName(u"PorGrupo"_qs);
  struct Case {
    QList<Variant> start, end;
    int count;
    const char* first;
    const char* last;
  };
  // Texts whose number is a multiple of 7 have no group, of 5 no order.
  const Case cases[] = {
      {{Text(u"ga"_qs), Int(1)}, {Text(u"GÁ"_qs), Int(2)}, 270, "gá:1", "gá:2"},
      {{Text(u"gB"_qs), Variant()}, {Text(u"gb"_qs), Int(0)}, 540, "gB:", "gB:0"},
      {{Variant()}, {Variant()}, 348, ":", ":3"},
      {{Text(u"ga"_qs)}, {Text(u"gb"_qs)}, 2052, "gá:", "gB:3"},
  };
  for (const Case& c : cases) {
    table->SetRange(c.start, c.end);
    QStringList shown = Walk(*table, u"Grupo;Orden"_qs);
    EXPECT_EQ(table->RecordCount(), c.count);
    ASSERT_EQ(shown.size(), c.count);
    EXPECT_EQ(shown.front(), QString::fromUtf8(c.first));
    EXPECT_EQ(shown.back(), QString::fromUtf8(c.last));
  }
}

// A table the data layer creates keeps its text key byte for byte, and
// still walks and searches it under the collation through an index.
TEST(KeySeek, ATableMadeWithATextKeyIsSoughtThroughAnIndexUnderTheCollation) {
  if (DataFixture::ThroughOdbc()) GTEST_SKIP() << "the plan is asked of the file's own connection";
  DataFixture data;
  {
    auto made = data.NewTable(u"TEXTOS"_qs);
    made->FieldDefs().Add(u"Idioma"_qs, ftString, 3);
    made->FieldDefs().Add(u"Clave"_qs, ftString, 40);
    made->FieldDefs().Add(u"Numero"_qs, ftInteger);
    made->IndexDefs().Add(QString(), u"Idioma;Clave;Numero"_qs, ixPrimary);
    made->CreateTable();
  }
  data.Execute(u"WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999) INSERT INTO TEXTOS "
               "SELECT CASE i % 2 WHEN 0 THEN 'esp' ELSE 'ESP' END, printf('Clave %03d', i / 2), 1 FROM n"_qs);
  auto table = data.OpenTable(u"TEXTOS"_qs);
  EXPECT_EQ(table->IndexDefs().Count(), 1) << "the index of the key's order is no index of the table";
  StatementsSeen seen(data.File(), "TEXTOS");
  ASSERT_TRUE(table->FindKey({Text(u"Esp"_qs), Text(u"clave 250"_qs), Int(1)}));
  ASSERT_FALSE(seen.Selects().isEmpty());
  for (const QString& select : seen.Selects()) {
    const QString plan = seen.Plan(select);
    EXPECT_TRUE(plan.startsWith(u"SEARCH"_qs) && !plan.contains(u"TEMP B-TREE"_qs)) << qPrintable(plan);
  }
  EXPECT_TRUE(seen.Plan(seen.Selects().front()).contains(u"Numero"_qs)) << qPrintable(seen.Plan(seen.Selects().front()));
  EXPECT_EQ(table->FieldByName(u"Idioma"_qs).AsString() + table->FieldByName(u"Clave"_qs).AsString(),
            u"ESPClave 250"_qs) << "equal under the collation, then byte for byte 'ESP' before 'esp'";

  // Renamed, the table keeps that index; a new table of the old name is made all the same.
  table->Close();
  data.Execute(u"ALTER TABLE TEXTOS RENAME TO TEXTOS2"_qs);
  auto again = data.NewTable(u"TEXTOS"_qs);
  again->FieldDefs().Add(u"Clave"_qs, ftString, 40);
  again->IndexDefs().Add(QString(), u"Clave"_qs, ixPrimary);
  EXPECT_NO_THROW(again->CreateTable());
}

}  // namespace
