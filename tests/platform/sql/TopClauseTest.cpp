#include "platform/sql/SqlError.h"
#include "platform/sql/SqlMapper.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <QSet>

#include <gtest/gtest.h>

// TOP on the embedded server against the answers SQL Server documents: a
// count of any expression, a TOP of its own in each branch of a UNION, and
// no order but the one the statement asks for.

namespace {

using Rows = QList<QStringList>;

class TopClause : public ::testing::Test {
 protected:
  TopClause() : client_(folder_.Path()) {
    for (const char* statement :
         {"CREATE DATABASE ZEMT", "USE ZEMT",
          "CREATE TABLE dbo.ART (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
          "Familia VARCHAR(10) DEFAULT '' NULL, CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
          "CREATE INDEX ART_Clave2 ON ART (Nombre, Codigo)",
          "INSERT INTO ART (Codigo, Nombre, Familia) VALUES (1, 'Tuerca', 'F1')",
          "INSERT INTO ART (Codigo, Nombre, Familia) VALUES (2, 'Arandela', 'F2')",
          "INSERT INTO ART (Codigo, Nombre, Familia) VALUES (3, 'Tornillo', 'F1')",
          "INSERT INTO ART (Codigo, Nombre, Familia) VALUES (4, 'Broca', 'F2')",
          "INSERT INTO ART (Codigo, Nombre, Familia) VALUES (5, 'Clavo', 'F1')"})
      client_.Run(QString::fromUtf8(statement));
  }

  Rows Sorted(const QString& statement) {
    Rows rows = client_.Texts(statement);
    std::sort(rows.begin(), rows.end());
    return rows;
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

}  // namespace

TEST_F(TopClause, TakesTheCountsAndBranchesSqlServerTakes) {
  const struct {
    const char* statement;
    Rows expected;
    bool anyOrder;
  } cases[] = {
      {"SELECT TOP (1 + 1) Codigo FROM ART ORDER BY Codigo", {{"1"}, {"2"}}, false},
      {"SELECT TOP ((SELECT COUNT(*) FROM ART WHERE Familia = 'F2')) Codigo FROM ART ORDER BY Nombre", {{"2"}, {"4"}},
       false},
      {"SELECT DISTINCT TOP (3 - 1) Familia FROM ART ORDER BY Familia DESC", {{"F2"}, {"F1"}}, false},
      {"SELECT TOP (0) Codigo FROM ART", {}, false},
      {"SELECT TOP ('2') Codigo FROM ART ORDER BY Codigo DESC", {{"5"}, {"4"}}, false},
      {"SELECT Codigo FROM ART WHERE Codigo IN (SELECT TOP (2 * 1) Codigo FROM ART ORDER BY Nombre)", {{"2"}, {"4"}},
       true},
      // Each branch's TOP takes from that branch; an ORDER BY at the end orders the whole result.
      {"SELECT TOP 1 Codigo FROM ART WHERE Codigo = 3 UNION ALL SELECT TOP 2 Codigo FROM ART WHERE Codigo > 4",
       {{"3"}, {"5"}}, true},
      {"SELECT TOP 1 Nombre FROM ART WHERE Codigo = 4 UNION ALL SELECT TOP (2) Nombre FROM ART WHERE Codigo = 1 "
       "ORDER BY Nombre DESC",
       {{"Tuerca"}, {"Broca"}}, false},
      {"SELECT Codigo FROM ART WHERE Codigo = 1 UNION SELECT TOP 1 Codigo FROM ART WHERE Codigo = 2 ORDER BY Codigo",
       {{"1"}, {"2"}}, false},
      {"(SELECT TOP 1 Codigo FROM ART ORDER BY Nombre) UNION ALL (SELECT TOP 2 Codigo FROM ART ORDER BY Nombre DESC)",
       {{"1"}, {"2"}, {"3"}}, true},
      {"SELECT * FROM ((SELECT TOP 2 Nombre FROM ART ORDER BY Codigo DESC) UNION ALL SELECT TOP 1 Nombre FROM ART "
       "WHERE Codigo = 2) t ORDER BY Nombre",
       {{"Arandela"}, {"Broca"}, {"Clavo"}}, false},
      {"SELECT TOP 3 Codigo FROM ART WHERE Familia = 'F1' EXCEPT SELECT TOP 1 Codigo FROM ART WHERE Codigo = 1",
       {{"3"}, {"5"}}, true},
      {"SELECT TOP 1 Codigo AS Primero FROM ART WHERE Codigo = 4 INTERSECT SELECT Codigo FROM ART", {{"4"}}, false},
  };
  for (const auto& c : cases) {
    const QString statement = QString::fromUtf8(c.statement);
    try {
      EXPECT_EQ(c.anyOrder ? Sorted(statement) : client_.Texts(statement), c.expected) << c.statement;
    } catch (const EDatabaseError& error) {
      ADD_FAILURE() << c.statement << ": " << error.what();
    }
  }
  // A TOP that is one row of a branch from the table's end keeps its branch's rows apart.
  const Rows parts = Sorted(u"SELECT TOP 2 Codigo FROM ART WHERE Familia = 'F1' UNION ALL "
                            "SELECT TOP 1 Codigo FROM ART WHERE Familia = 'F2'"_qs);
  ASSERT_EQ(parts.size(), 3);
  EXPECT_EQ(QSet<QString>({parts[0][0], parts[1][0], parts[2][0]}).size(), 3);
}

TEST_F(TopClause, RefusesTheCountsSqlServerRefuses) {
  const std::tuple<const char*, const char*> refusals[] = {
      {"SELECT TOP (1 - 2) Codigo FROM ART", "A TOP N value may not be negative."},
      {"SELECT TOP (NULL) Codigo FROM ART", "A TOP or FETCH clause contains an invalid value."},
      {"SELECT TOP (1.5) Codigo FROM ART",
       "The number of rows provided for a TOP or FETCH clauses row count parameter must be an integer."},
      {"SELECT TOP ('x') Codigo FROM ART",
       "The number of rows provided for a TOP or FETCH clauses row count parameter must be an integer."},
      {"SELECT TOP 1 Codigo FROM ART ORDER BY Codigo UNION SELECT 2", "Incorrect syntax near the keyword 'UNION'."},
      {"SELECT Codigo FROM ART ORDER BY Codigo except SELECT 2", "Incorrect syntax near the keyword 'EXCEPT'."},
      {"SELECT TOP 10 PERCENT Codigo FROM ART", "'TOP 10 PERCENT' is not supported by the embedded server."},
  };
  for (const auto& [statement, message] : refusals)
    EXPECT_EQ(client_.Error(QString::fromUtf8(statement)), QString::fromUtf8(message)) << statement;
}

TEST_F(TopClause, ACountBoundAsAParameterLimitsTheRows) {
  client_.Run(u"SELECT 1"_qs);
  Connection& connection = client_.Connection();
  const SqlMapper mapper(SqlContext::ForConnection(connection, u"mm/dd/yyyy"_qs));
  const SqlRows rows = connection.QueryRows(mapper.Map(u"SELECT TOP (?) Codigo FROM ART ORDER BY Codigo DESC"_qs), {2});
  ASSERT_EQ(rows.rows.size(), 2);
  EXPECT_EQ(rows.rows[1][0].toInt(), 4);
  EXPECT_THROW(connection.QueryRows(mapper.Map(u"SELECT TOP (?) Codigo FROM ART"_qs), {-1}), EDatabaseError);
  // Moved to the end, the count would take the value bound for the condition.
  EXPECT_THROW(mapper.Map(u"SELECT TOP (?) Codigo FROM ART WHERE Familia = ?"_qs), SqlError);
}

// Without ORDER BY the rows come as the index the condition uses reads them:
// no sort of every match, as SQL Server does not order them either.
TEST_F(TopClause, WithoutOrderByTheMatchesAreNotSorted) {
  client_.Run(u"CREATE TABLE dbo.NOMBRES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
              "CONSTRAINT NOMBRES_Clave1 PRIMARY KEY (Codigo))"_qs);
  client_.Run(u"CREATE INDEX NOMBRES_Clave2 ON NOMBRES (Nombre, Codigo)"_qs);
  Connection& connection = client_.Connection();
  connection.Execute(u"BEGIN"_qs);
  // 1,200 names starting with B, in an order of codes the names do not follow.
  for (int codigo = 1; codigo <= 3000; ++codigo)
    connection.QueryRows(u"INSERT INTO NOMBRES (Codigo, Nombre) VALUES (?, ?)"_qs,
                         {codigo, QString(QChar(u'A' + (codigo * 7) % 5)) + u"-%1"_qs.arg((codigo * 7919) % 3001)});
  connection.Execute(u"COMMIT"_qs);
  const int matching = client_.Texts(u"SELECT COUNT(*) FROM NOMBRES WHERE Nombre LIKE 'b%'"_qs)[0][0].toInt();
  ASSERT_EQ(matching, 600);

  for (const int top : {100, 600, 1000}) {
    const QString statement = u"SELECT TOP %1 Codigo, Nombre FROM NOMBRES WITH(NOLOCK) WHERE (Nombre LIKE 'b%')"_qs.arg(top);
    const Rows rows = client_.Texts(statement);
    EXPECT_EQ(rows.size(), std::min(top, matching)) << top;
    QSet<QString> codes;
    for (const QStringList& row : rows) {
      EXPECT_TRUE(row[1].startsWith(u'B')) << row[1].toStdString();
      codes.insert(row[0]);
    }
    EXPECT_EQ(codes.size(), rows.size()) << "a row came twice";
    const QString mapped = SqlMapper(SqlContext::ForConnection(connection, u"mm/dd/yyyy"_qs)).Map(statement);
    QStringList plan;
    for (const QVariantList& step : connection.QueryRows(u"EXPLAIN QUERY PLAN "_qs + mapped).rows)
      plan << step.last().toString();
    EXPECT_FALSE(plan.join(u'\n').contains(u"TEMP B-TREE"_qs)) << plan.join(u'\n').toStdString();
  }
}

// A TOP without ORDER BY over one LIKE with a fixed start reads the range
// of the index that the start bounds, not the whole table.
TEST_F(TopClause, WithoutOrderByALikeReadsItsIndexRange) {
  client_.Run(u"CREATE TABLE dbo.NOMBRES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
              "CONSTRAINT NOMBRES_Clave1 PRIMARY KEY (Codigo))"_qs);
  client_.Run(u"CREATE INDEX NOMBRES_Clave2 ON NOMBRES (Nombre, Codigo)"_qs);
  Connection& connection = client_.Connection();
  connection.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                     "INSERT INTO NOMBRES (Codigo, Nombre) SELECT i, char(65 + i % 26) || '-' || i FROM n"_qs);
  const SqlMapper mapper(SqlContext::ForConnection(connection, u"mm/dd/yyyy"_qs));
  for (const char* text : {"SELECT TOP 5 Codigo, Nombre FROM NOMBRES WHERE Nombre LIKE 'b-1%'",
                           "SELECT TOP (5) Nombre FROM NOMBRES WITH (NOLOCK) WHERE Nombre LIKE N'B-1%'",
                           "SELECT DISTINCT TOP 5 Nombre FROM NOMBRES WHERE Nombre LIKE 'b-1%'",
                           "DELETE TOP (5) FROM NOMBRES WHERE Nombre LIKE 'b-1%'"}) {
    const QString mapped = mapper.Map(QString::fromUtf8(text));
    QStringList plan;
    for (const QVariantList& step : connection.QueryRows(u"EXPLAIN QUERY PLAN "_qs + mapped).rows)
      plan << step.last().toString();
    const QString shown = plan.join(u'\n');
    EXPECT_TRUE(shown.contains(u"NOMBRES_Clave2 (Nombre>? AND Nombre<?)"_qs)) << text << '\n' << shown.toStdString();
    EXPECT_FALSE(shown.contains(u"SCAN"_qs)) << text << '\n' << shown.toStdString();
  }
  const Rows rows = client_.Texts(u"SELECT TOP 5 Codigo, Nombre FROM NOMBRES WHERE Nombre LIKE 'b-1%'"_qs);
  ASSERT_EQ(rows.size(), 5);
  for (const QStringList& row : rows) {
    EXPECT_TRUE(row[1].startsWith(u"B-1"_qs)) << row[1].toStdString();
    EXPECT_EQ(row[0].toInt() % 26, 1) << row[0].toStdString();
  }
  client_.Run(u"DELETE TOP (5) FROM NOMBRES WHERE Nombre LIKE 'b-1%'"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM NOMBRES"_qs), Rows({{"99995"}}));
}
