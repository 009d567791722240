#include "platform/data/Field.h"
#include "platform/data/filter/FilterExpression.h"
#include "platform/engine/CachedStatement.h"
#include "platform/sqlite/SqlText.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// MEDIDAS: Codigo (key), Peso, Cantidad, Nombre: NULLs, negative numbers,
// decimals, quantities beyond what a double holds exactly, hostile names.
// `judged` has an event of its own, which leaves its filter to the dataset.
class FilterSqlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto created = data.NewTable(u"MEDIDAS"_qs);
    for (const auto& [name, type] : {std::pair{u"Codigo"_qs, ftInteger}, {u"Peso"_qs, ftFloat},
                                     {u"Cantidad"_qs, ftInteger}, {u"Nombre"_qs, ftString}})
      created->FieldDefs().Add(name, type, type == ftString ? 30 : 0);
    created->IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
    created->CreateTable();
    const QString names[] = {u"'Ángel'"_qs, u"'O''Brien'"_qs, u"'x'' OR 1=1 --'"_qs, u"NULL"_qs};
    QStringList rows;
    for (int codigo = 1; codigo <= 3000; ++codigo) {
      const auto draw = random() % 20;
      rows.append(u"(%1, %2, %3, %4)"_qs.arg(codigo).arg(
          draw == 0 ? u"NULL"_qs : QString::number((static_cast<int>(random() % 4001) - 2000) / 8.0),
          draw == 1 ? u"NULL"_qs : draw == 2 ? u"9007199254740993"_qs : QString::number(int(random() % 201) - 100),
          names[random() % std::size(names)]));
    }
    data.Execute(u"INSERT INTO MEDIDAS VALUES "_qs + rows.join(u','));
    table = data.OpenTable(u"MEDIDAS"_qs);
    judged = data.OpenTable(u"MEDIDAS"_qs);
    judged->OnFilterRecord = [](Dataset&, bool&) {};
  }

  static QString codesOf(Table& dataset, const QString& filter) {
    dataset.SetFiltered(false);
    dataset.SetFilter(filter);
    dataset.SetFiltered(true);
    return Walk(dataset, u"Codigo"_qs).join(u',');
  }

  std::optional<FilterSql> sqlOf(const QString& filter) const {
    return FilterExpression::Parse(filter, *table, 0)->Sql([](const Field& field) {
      return SqlText::Quoted(field.FieldName());
    });
  }

  // The codes the engine passes by the SQL alone.
  QString codesOfSql(const FilterSql& sql) const {
    CachedStatement select(*data.Connection(), u"SELECT Codigo FROM MEDIDAS WHERE %1 ORDER BY Codigo"_qs.arg(sql.text));
    for (int i = 0; i < sql.arguments.size(); ++i) select->Bind(i + 1, sql.arguments[i]);
    QStringList codes;
    while (select->Step()) codes.append(select->Column(0).toString());
    return codes.join(u',');
  }

  QString randomCondition(int depth) {
    const QString fields[] = {u"Peso"_qs, u"Cantidad"_qs, u"Codigo"_qs};
    const QString comparisons[] = {u"="_qs, u"<>"_qs, u"<"_qs, u">"_qs, u"<="_qs, u">="_qs};
    const QString constants[] = {QString::number(int(random() % 401) - 200), QString::number((int(random() % 81) - 40) / 4.0),
                                 u"'%1'"_qs.arg(QString::number((int(random() % 81) - 40) / 8.0).replace(u'.', u',')),
                                 u"9007199254740992"_qs, fields[random() % 3]};
    switch (random() % (depth > 2 ? 2 : 4)) {
      case 0:
      case 1:
        return fields[random() % 3] + comparisons[random() % 6] + constants[random() % std::size(constants)];
      case 2:
        return u"NOT (%1)"_qs.arg(randomCondition(depth + 1));
      default:
        return u"(%1) %2 (%3)"_qs.arg(randomCondition(depth + 1), random() % 2 ? u"AND"_qs : u"OR"_qs,
                                      randomCondition(depth + 1));
    }
  }

  DataFixture data;
  std::unique_ptr<Table> table, judged;
  std::mt19937 random{20261208};
};

TEST_F(FilterSqlTest, TheEngineAnswersAsTheDatasetOnNumbersAndNulls) {
  QStringList filters = {
      u"NOT (Peso > 90)"_qs,  // an empty weight passes
      u"NOT (NOT (Peso > 90) AND Cantidad < 0)"_qs,
      u"Cantidad > 9007199254740992"_qs,  // none: the huge quantity reads as that double
      u"Cantidad = 9007199254740992"_qs,
      u"NOT (Peso = Cantidad)"_qs,
  };
  for (int i = 0; i < 120; ++i) filters.append(randomCondition(0));
  for (const QString& filter : filters) {
    const std::optional<FilterSql> sql = sqlOf(filter);
    ASSERT_TRUE(sql) << filter.toStdString();
    const std::string expected = codesOf(*judged, filter).toStdString();
    EXPECT_EQ(codesOfSql(*sql).toStdString(), expected) << filter.toStdString();
    EXPECT_EQ(codesOf(*table, filter).toStdString(), expected) << filter.toStdString();
  }
  EXPECT_EQ(codesOf(*table, filters[2]), QString());
  EXPECT_NE(codesOf(*table, filters[3]), QString());
}

TEST_F(FilterSqlTest, LongChainsAndTextStoredInNumbersStayWithTheDataset) {
  data.Execute(u"UPDATE MEDIDAS SET Peso = 'pesado' WHERE Codigo = 1500"_qs);
  data.Execute(u"UPDATE MEDIDAS SET Peso = X'00', Cantidad = '12abc' WHERE Codigo = 1600"_qs);
  const auto outcomeOf = [](Table& dataset, const QString& filter) {
    QString codes;
    const QString message = MessageOf([&] { codes = codesOf(dataset, filter); });
    dataset.SetFiltered(false);
    return (message.isEmpty() ? codes : message).toStdString();
  };
  const QString filters[] = {u"Nombre = 'x'' OR 1=1 --' OR Peso > 0"_qs, u"Nombre = 'Á*' AND Peso > 0"_qs,
                             u"Peso > 0 OR "_qs.repeated(300) + u"Cantidad < 0"_qs,
                             u"Peso > 90"_qs, u"NOT (Peso > 90)"_qs, u"Cantidad < 50"_qs, u"Peso < Cantidad"_qs};
  for (const QString& filter : filters) {
    const std::string expected = outcomeOf(*judged, filter);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(outcomeOf(*table, filter), expected) << filter.left(60).toStdString();
  }
  EXPECT_FALSE(sqlOf(filters[2]));
  EXPECT_TRUE(sqlOf(filters[0]) && sqlOf(filters[1]));
}

// TEXTOS: Codigo (key), Nombre, Alias (text: accents, case, trailing and
// leading blanks, "ñ", characters beyond the 16-bit range, quotes, empty,
// NULL, and now and then a number or bytes kept in the text column), Peso
// (a number, NULL, and now and then text or bytes kept in the number
// column).
class TextFilterSqlTest : public ::testing::Test {
 protected:
  static inline const QStringList kTexts = {
      u"Ángel"_qs, u"angel"_qs,   u"ANGEL "_qs, u"ángel  "_qs, u"Ñandú"_qs, u"nandu"_qs,  u"O'Brien"_qs,
      u"ab"_qs,    u"abc"_qs,     u"ABD"_qs,    u"a b"_qs,     u" ab"_qs,   u"ab "_qs,    u"x' OR 1=1 --"_qs,
      u"😀ab"_qs,  u"ab😀"_qs,    u"ab😀c"_qs,  u"\u00A0ab"_qs, u"  "_qs,  u"%_ab"_qs,   u"Zoé"_qs};

  void SetUp() override {
    data.Execute(u"CREATE TABLE TEXTOS (Codigo INT PRIMARY KEY, Nombre VARCHAR(20), Alias VARCHAR(20), Peso FLOAT)"_qs);
    QStringList rows;
    for (int codigo = 1; codigo <= 1500; ++codigo)
      rows.append(u"(%1, %2, %3, %4)"_qs.arg(codigo).arg(randomValue(), randomValue(), randomWeight()));
    data.Execute(u"INSERT INTO TEXTOS VALUES "_qs + rows.join(u','));
    table = data.OpenTable(u"TEXTOS"_qs);
    judged = data.OpenTable(u"TEXTOS"_qs);
    judged->OnFilterRecord = [](Dataset&, bool&) {};
  }

  static QString quoted(const QString& text) { return u'\'' + QString(text).replace(u"'"_qs, u"''"_qs) + u'\''; }

  QString randomValue() {
    switch (random() % 25) {
      case 0:
        return u"NULL"_qs;
      case 1:
        return u"42"_qs;
      case 2:
        return u"X'6162'"_qs;
      case 3:
        return u"''"_qs;
      default:
        return quoted(kTexts[random() % kTexts.size()]);
    }
  }

  QString randomWeight() {
    switch (random() % 30) {
      case 0:
      case 1:
      case 2:
        return u"NULL"_qs;
      case 3:
        return u"'2,5'"_qs;
      case 4:
        return u"X'33'"_qs;
      default:
        return QString::number(int(random() % 21) - 10);
    }
  }

  QString randomCondition(int depth) {
    const QString fields[] = {u"Nombre"_qs, u"Alias"_qs};
    const QString comparisons[] = {u"="_qs, u"<>"_qs, u"<"_qs, u">"_qs, u"<="_qs, u">="_qs};
    const QString& field = fields[random() % 2];
    const QString text = kTexts[random() % kTexts.size()];
    switch (random() % (depth > 2 ? 4 : 7)) {
      case 0:
      case 1:
        return field + comparisons[random() % 6] + quoted(text);
      case 2:  // a prefix, of a character beyond the 16-bit range too
        return field + (random() % 3 ? u"="_qs : u"<>"_qs) + quoted(text.left(int(random() % 4)) + u'*');
      case 3:
        return random() % 2 ? u"Nombre"_qs + comparisons[random() % 6] + u"Alias"_qs
                            : u"Peso > %1"_qs.arg(int(random() % 11) - 5);
      case 4:
        return u"NOT (%1)"_qs.arg(randomCondition(depth + 1));
      default:
        return u"(%1) %2 (%3)"_qs.arg(randomCondition(depth + 1), random() % 2 ? u"AND"_qs : u"OR"_qs,
                                      randomCondition(depth + 1));
    }
  }

  static QString codesOf(Table& dataset, const QString& filter, FilterOptions options) {
    dataset.SetFiltered(false);
    dataset.SetFilter(filter);
    dataset.SetFilterOptions(options);
    dataset.SetFiltered(true);
    return Walk(dataset, u"Codigo"_qs).join(u',');
  }

  // The codes the SQL alone passes among the records whose texts are text.
  QString codesOfSql(const FilterSql& sql) const {
    CachedStatement select(*data.Connection(),
                           u"SELECT Codigo FROM TEXTOS WHERE typeof(Nombre) = 'text' AND typeof(Alias) = 'text' AND "
                           "typeof(Peso) IN ('integer', 'real', 'null') AND (%1) ORDER BY Codigo"_qs.arg(sql.text));
    for (int i = 0; i < sql.arguments.size(); ++i) select->Bind(i + 1, sql.arguments[i]);
    QStringList codes;
    while (select->Step()) codes.append(select->Column(0).toString());
    return codes.join(u',');
  }

  QString textCodesAmong(const QString& codes) const {
    QStringList kept;
    for (const QString& codigo : codes.split(u',', Qt::SkipEmptyParts))
      if (data.Scalar(u"SELECT typeof(Nombre) = 'text' AND typeof(Alias) = 'text' AND typeof(Peso) IN ('integer', "
                      "'real', 'null') FROM TEXTOS WHERE Codigo = "_qs +
                      codigo)
              .toInt() == 1)
        kept.append(codigo);
    return kept.join(u',');
  }

  DataFixture data;
  std::unique_ptr<Table> table, judged;
  std::mt19937 random{20261209};
};

// Each filter walked through the engine's evaluation gives the records the
// program's own evaluation gives, under both case options; the SQL alone is
// exact on the records whose columns hold text.
TEST_F(TextFilterSqlTest, TheEngineAnswersAsTheDatasetOnText) {
  int written = 0;
  for (int i = 0; i < 160; ++i) {
    const QString filter = randomCondition(0);
    for (const FilterOptions options : {FilterOptions(0), FilterOptions(foCaseInsensitive)}) {
      const std::string expected = codesOf(*judged, filter, options).toStdString();
      EXPECT_EQ(codesOf(*table, filter, options).toStdString(), expected) << filter.toStdString() << " " << options;
      const std::optional<FilterSql> sql = FilterExpression::Parse(filter, *table, options)->Sql([](const Field& field) {
        return SqlText::Quoted(field.FieldName());
      });
      if (!sql) continue;
      ++written;
      if (DataFixture::ThroughOdbc()) continue;  // the collation is the program's own connection's
      EXPECT_EQ(codesOfSql(*sql).toStdString(), textCodesAmong(QString::fromStdString(expected)).toStdString())
          << filter.toStdString() << " " << options;
    }
  }
  EXPECT_GT(written, 160);  // most filters go to the engine
}

// The engine's parser holds a bounded stack: a filter nested deeper than it
// takes is left to the dataset, which answers as for any other.
TEST_F(FilterSqlTest, DeeplyNestedFiltersAnswerAsTheDataset) {
  const auto negated = [](int depth) { return u"NOT "_qs.repeated(depth) + u"Peso > 1"_qs; };
  const auto alternated = [](int depth, bool negating) {
    QString filter = u"Peso > 0"_qs;
    for (int level = 0; level < depth; ++level)
      filter = u"Cantidad %1 %2 %3 %4(%5)"_qs.arg(level % 3 ? u"<"_qs : u">="_qs)
                   .arg(level * 7 % 90 - 45)
                   .arg(level % 2 ? u"AND"_qs : u"OR"_qs, negating && level % 3 == 0 ? u"NOT "_qs : QString(), filter);
    return filter;
  };
  QStringList filters = {negated(41), negated(60), negated(200), alternated(60, false),
                         u"NOT ("_qs + alternated(25, true) + u") AND Codigo > 10"_qs};
  for (int depth = 12; depth <= 30; depth += 3) filters << alternated(depth, false) << alternated(depth, true);
  for (const QString& filter : filters) {
    const auto outcomeOf = [&filter](Table& dataset) {
      QString codes;
      const QString message = MessageOf([&] {
        codes = codesOf(dataset, filter) + u' ' + QString::number(dataset.RecordCount());
        dataset.Last();
        codes += u' ' + QString::number(dataset.RecNo());
      });
      return (message.isEmpty() ? codes : message).toStdString();
    };
    const std::string expected = outcomeOf(*judged);
    EXPECT_GT(expected.size(), 20u) << filter.left(60).toStdString();
    EXPECT_EQ(outcomeOf(*table), expected) << filter.left(60).toStdString();
  }
  // The engine still takes a filter nested as people write them.
  EXPECT_TRUE(sqlOf(negated(2) + u" AND "_qs + alternated(8, true)));
}

// The engine calls a function with a bounded number of values: a filter
// reading more columns than that is left to the dataset.
TEST(FilterSqlWideTest, AFilterOverManyColumnsAnswersAsTheDataset) {
  DataFixture data;
  constexpr int kColumns = 130;
  QStringList columns, values;
  for (int column = 1; column <= kColumns; ++column) columns.append(u"C%1 FLOAT"_qs.arg(column));
  data.Execute(u"CREATE TABLE ANCHA (Codigo INT PRIMARY KEY, Nombre VARCHAR(10), %1)"_qs.arg(columns.join(u',')));
  for (int codigo = 1; codigo <= 40; ++codigo) {
    QStringList row = {QString::number(codigo), codigo % 2 ? u"'par'"_qs : u"'impar'"_qs};
    for (int column = 1; column <= kColumns; ++column)
      row.append(column == codigo * 4 ? u"1"_qs : codigo == 7 && column == 9 ? u"'2,5'"_qs : u"-1"_qs);
    values.append(u'(' + row.join(u',') + u')');
  }
  data.Execute(u"INSERT INTO ANCHA VALUES "_qs + values.join(u','));
  auto table = data.OpenTable(u"ANCHA"_qs);
  auto judged = data.OpenTable(u"ANCHA"_qs);
  judged->OnFilterRecord = [](Dataset&, bool&) {};
  QStringList anyPositive;
  for (int column = 1; column <= kColumns; ++column) anyPositive.append(u"C%1 > 0"_qs.arg(column));
  const QString filters[] = {anyPositive.join(u" OR "_qs), u"Nombre = 'par' AND ("_qs + anyPositive.join(u" OR "_qs) + u')'};
  for (const QString& filter : filters) {
    const auto outcomeOf = [&filter](Table& dataset) {
      QString codes;
      const QString message = MessageOf([&] {
        dataset.SetFilter(filter);
        dataset.SetFiltered(true);
        codes = Walk(dataset, u"Codigo"_qs).join(u',') + u' ' + QString::number(dataset.RecordCount());
      });
      return (message.isEmpty() ? codes : message).toStdString();
    };
    const std::string expected = outcomeOf(*judged);
    EXPECT_NE(expected.find("7,"), std::string::npos) << expected;
    EXPECT_EQ(outcomeOf(*table), expected);
  }
}

}  // namespace
