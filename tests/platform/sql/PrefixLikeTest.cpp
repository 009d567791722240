// A LIKE whose pattern starts with fixed characters finds its rows through
// the index kept under the collation, and finds exactly the rows it found
// before, whatever their case, accents, blanks and characters.

#include "platform/sql/Collation.h"
#include "platform/sql/SqlDialect.h"
#include "platform/sql/SqlMapper.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/Statement.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

const QStringList kNames = {
    u""_qs,      u"a"_qs,      u"A"_qs,     u"á"_qs,     u"Ab"_qs,      u"ab "_qs,    u"ab"_qs,     u"abc"_qs,
    u"ABD"_qs,   u"ab x"_qs,   u"aB\tz"_qs, u"ñandú"_qs, u"Ñu"_qs,      u"nu"_qs,     u"nz"_qs,     u"o"_qs,
    u"{"_qs,     u"zz"_qs,     u"z"_qs,     u"Zü"_qs,    u"ZZZ"_qs,     u"~"_qs,      u"ÿ"_qs,      u"ź"_qs,
    u"€uro"_qs,  u"a%b"_qs,    u"a_b"_qs,   u"a[b"_qs,   u"😀x"_qs,     u"\u00A0a"_qs, u"ab\u0001"_qs, u"aÿ"_qs,
    u"a\uFFFD"_qs, u"AZ"_qs,   u"b"_qs,     u"Éclair"_qs, u"eclairs"_qs, u"e"_qs,      u"f"_qs,      u"O'Neil"_qs};

class PrefixLikeTest : public ::testing::Test {
 protected:
  PrefixLikeTest() {
    SqlDialect::InstallOnEveryConnection();
    connection_ = OpenConnection(folder_.File("DATOS.SQLITE"));
    connection_->Execute(QStringLiteral("CREATE TABLE CLIENTES (Codigo INT NOT NULL, Nombre VARCHAR(40) COLLATE \"%1\", "
                                        "Ciudad VARCHAR(20), PRIMARY KEY (Codigo)) WITHOUT ROWID")
                             .arg(Collation::kDefaultName.toString()));
    connection_->Execute(u"CREATE INDEX CLIENTES_PorNombre ON CLIENTES (Nombre, Codigo)"_qs);
    // A table of a data folder: text kept byte for byte, its index under the collation.
    connection_->Execute(QStringLiteral("CREATE TABLE PROVEEDO (Codigo INT NOT NULL, Nombre VARCHAR(40), "
                                        "PRIMARY KEY (Codigo)) WITHOUT ROWID; CREATE INDEX PROVEEDO_PorNombre ON "
                                        "PROVEEDO (Nombre COLLATE \"%1\", Codigo)")
                             .arg(Collation::kDefaultName.toString()));
    for (int codigo = 0; codigo <= kNames.size(); ++codigo) {
      const QString nombre = codigo < kNames.size() ? QuoteSqlString(kNames[codigo]) : u"NULL"_qs;
      for (const char* tabla : {"CLIENTES", "PROVEEDO"})
        connection_->Execute(QStringLiteral("INSERT INTO %1 (Codigo, Nombre) VALUES (%2, %3)")
                                 .arg(QString::fromLatin1(tabla))
                                 .arg(codigo)
                                 .arg(nombre));
    }
  }

  QString Map(const QString& statement) {
    return SqlMapper(SqlContext::ForConnection(*connection_, u"mm/dd/yyyy"_qs)).Map(statement);
  }
  std::set<int> Codes(const QString& statement) {
    Statement select(*connection_, Map(statement));
    std::set<int> codes;
    while (select.Step()) codes.insert(select.Column(0).toInt());
    return codes;
  }
  QString Plan(const QString& statement) {
    Statement plan(*connection_, u"EXPLAIN QUERY PLAN "_qs + Map(statement));
    QStringList steps;
    while (plan.Step()) steps.append(plan.Column(3).toString());
    return steps.join(u'|');
  }

  TemporaryFolder folder_;
  std::shared_ptr<Connection> connection_;
};

// The codes whose name the collation's LIKE matches, and which the test
// adds to them.
std::set<int> Matching(const QString& pattern, const std::function<bool(int, bool)>& keep) {
  std::set<int> codes;
  for (int codigo = 0; codigo <= kNames.size(); ++codigo) {
    const bool matches = codigo < kNames.size() && Collation::Default().Like(pattern, kNames[codigo]);
    if (keep(codigo, matches)) codes.insert(codigo);
  }
  return codes;
}

TEST_F(PrefixLikeTest, EveryRowItFoundAndNoOther) {
  const QStringList patterns = {u"a%"_qs,  u"A%"_qs,  u"ab%"_qs,  u"AB%"_qs, u"ab %"_qs,  u"á%"_qs,  u"n%"_qs,
                                u"ñ%"_qs,  u"Ñ%"_qs,  u"z%"_qs,   u"Z%"_qs,  u"ZZ%"_qs,   u"~%"_qs,  u"ÿ%"_qs,
                                u"€%"_qs,  u"a[%]%"_qs, u"a_b"_qs, u"ab_"_qs, u"e%s"_qs,  u"É%"_qs,  u"{%"_qs,
                                u"a\uFFFD%"_qs, u"😀%"_qs, u"O'%"_qs, u"%b"_qs, u"abc"_qs, u"aÿ%"_qs, u"\u00A0%"_qs};
  for (const char* tabla : {"CLIENTES", "PROVEEDO"})
    for (const QString& pattern : patterns) {
      const QString literal = QuoteSqlString(pattern);
      const QString& plain = pattern;
      const QString from = QStringLiteral("SELECT Codigo FROM %1 WHERE ").arg(QString::fromLatin1(tabla));
      EXPECT_EQ(Codes(from + u"Nombre LIKE "_qs + literal), Matching(plain, [](int, bool m) { return m; }))
          << tabla << " " << qPrintable(pattern);
      EXPECT_EQ(Codes(from + u"NOT Nombre LIKE "_qs + literal + u" AND Codigo >= 0"_qs),
                Matching(plain, [](int codigo, bool m) { return !m && codigo < kNames.size(); }))
          << tabla << " NOT " << qPrintable(pattern);
      EXPECT_EQ(Codes(from + u"Codigo = 1 OR Nombre LIKE "_qs + literal + u" AND Codigo > 3"_qs),
                Matching(plain, [](int codigo, bool m) { return codigo == 1 || (m && codigo > 3); }))
          << tabla << " OR " << qPrintable(pattern);
    }
}

// A pattern kept from row to row is the pattern of the row at hand: each
// row's own, next to one that differs in a byte, an accent or its case.
TEST_F(PrefixLikeTest, APatternTakenFromEachRowIsThatRowsPattern) {
  const QStringList patterns = {u"a%"_qs, u"b%"_qs, u"á%"_qs, u"A%"_qs, u"%b"_qs, u"ab"_qs, u"ab%"_qs, u"ñ%"_qs};
  std::set<int> expected;
  for (int codigo = 0; codigo < kNames.size(); ++codigo) {
    const QString& pattern = patterns[codigo % patterns.size()];
    connection_->Execute(u"UPDATE CLIENTES SET Ciudad = %1 WHERE Codigo = %2"_qs.arg(QuoteSqlString(pattern)).arg(codigo));
    if (Collation::Default().Like(pattern, kNames[codigo])) expected.insert(codigo);
  }
  ASSERT_GT(expected.size(), 3u);
  EXPECT_EQ(Codes(u"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE Ciudad"_qs), expected);
  EXPECT_EQ(Codes(u"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE Ciudad ESCAPE '!'"_qs), expected);

  // A statement run again with another pattern bound reads that pattern.
  Statement select(*connection_, u"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE ?"_qs);
  for (const QString& pattern : patterns) {
    select.Bind(1, pattern);
    std::set<int> codes;
    while (select.Step()) codes.insert(select.Column(0).toInt());
    select.Reset();
    EXPECT_EQ(codes, Matching(pattern, [](int, bool m) { return m; })) << qPrintable(pattern);
  }
}

TEST_F(PrefixLikeTest, APrefixIsSoughtThroughTheIndexUnderTheCollation) {
  for (const char* tabla : {"CLIENTES", "PROVEEDO"}) {
    const QString plan = Plan(QStringLiteral("SELECT Codigo FROM dbo.%1 C WHERE C.Nombre LIKE N'Ab%'").arg(QString::fromLatin1(tabla)));
    EXPECT_TRUE(plan.startsWith(u"SEARCH"_qs) && plan.contains(u"Nombre>?"_qs) && plan.contains(u"Nombre<?"_qs))
        << tabla << ": " << qPrintable(plan);
  }
  // No fixed start, an escape, or a column that is no text: as written.
  for (const QString& statement : {u"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE '%b'"_qs,
                                   u"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE 'a!%%' ESCAPE '!'"_qs,
                                   u"SELECT Codigo FROM CLIENTES WHERE Codigo LIKE '1%'"_qs})
    EXPECT_FALSE(Map(statement).contains(u">="_qs)) << qPrintable(Map(statement));
  EXPECT_EQ(Codes(u"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE 'a!%%' ESCAPE '!'"_qs), std::set<int>({25}));
}

}  // namespace
