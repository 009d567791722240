#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <gtest/gtest.h>

#include <algorithm>

// How the embedded server groups what T-SQL groups, against the answers SQL
// Server documents: a comma joins looser than JOIN (the chain after a comma
// is joined first), and INTERSECT before UNION and EXCEPT.

namespace {

using Rows = QList<QStringList>;

struct Answer {
  const char* statement;
  Rows expected;  // in any order
  const char* error = nullptr;
};

const Answer kAnswers[] = {
    // ALM RIGHT JOIN LIN brings the 3 rows of LIN; each comes with every ART.
    {"SELECT COUNT(*) FROM ART, ALM RIGHT JOIN LIN ON ALM.Almacen = LIN.Almacen", {{"9"}}},
    {"SELECT COUNT(*) FROM ART, ALM FULL JOIN LIN ON ALM.Almacen = LIN.Almacen", {{"12"}}},
    {"SELECT COUNT(*) FROM ALM RIGHT JOIN LIN ON ALM.Almacen = LIN.Almacen, ART", {{"9"}}},
    {"SELECT COUNT(*) FROM ART a, ALM m RIGHT JOIN LIN l ON m.Almacen = l.Almacen, ART b RIGHT JOIN ALM x "
     "ON x.Zona = b.Codigo AND b.Codigo > 1",
     {{"18"}}},
    {"SELECT l.Codigo, a.Codigo FROM ART a, ALM m RIGHT OUTER JOIN LIN l ON m.Almacen = l.Almacen "
     "WHERE m.Almacen IS NULL AND a.Codigo < 3",
     {{"3", "1"}, {"3", "2"}}},
    {"SELECT COUNT(*) FROM ART a, ALM m RIGHT JOIN LIN l ON m.Almacen = l.Almacen LEFT JOIN ART b "
     "ON b.Codigo = m.Zona",
     {{"9"}}},
    {"SELECT (SELECT COUNT(*) FROM ART, ALM RIGHT JOIN LIN ON ALM.Almacen = LIN.Almacen)", {{"9"}}},
    {"SELECT COUNT(*) FROM (SELECT a.Codigo FROM ART a, ALM RIGHT JOIN LIN ON ALM.Almacen = LIN.Almacen) t", {{"9"}}},
    {"SELECT COUNT(*) FROM ART WHERE EXISTS (SELECT 1 FROM ALM, ALM m RIGHT JOIN LIN ON m.Almacen = LIN.Almacen "
     "WHERE LIN.Codigo = ART.Codigo AND m.Almacen IS NULL)",
     {{"1"}}},
    {"SELECT COUNT(*) FROM ART, (ALM RIGHT JOIN LIN ON ALM.Almacen = LIN.Almacen)", {{"9"}}},
    // INTERSECT first; UNION and EXCEPT from left to right.
    {"SELECT 1 UNION SELECT 2 INTERSECT SELECT 3", {{"1"}}},
    {"SELECT 1 UNION ALL SELECT 1 INTERSECT SELECT 1", {{"1"}, {"1"}}},
    {"SELECT 2 EXCEPT SELECT 2 INTERSECT SELECT 3", {{"2"}}},
    {"SELECT 1 INTERSECT SELECT 1 UNION SELECT 2 INTERSECT SELECT 3 INTERSECT SELECT 2 ORDER BY 1", {{"1"}}},
    {"SELECT 4 UNION SELECT 2 INTERSECT SELECT 2 EXCEPT SELECT 4", {{"2"}}},
    {"SELECT Codigo FROM ART WHERE Codigo = 3 UNION SELECT Codigo FROM LIN INTERSECT SELECT Zona FROM ALM "
     "ORDER BY Codigo",
     {{"1"}, {"2"}, {"3"}}},
    {"SELECT 5 UNION SELECT TOP 1 Codigo FROM LIN WHERE Codigo = 2 INTERSECT SELECT Codigo FROM ART WHERE Codigo < 3",
     {{"2"}, {"5"}}},
    {"SELECT 5 UNION (SELECT Codigo FROM LIN) INTERSECT SELECT Zona FROM ALM", {{"1"}, {"2"}, {"5"}}},
    {"SELECT Codigo FROM ART WHERE Codigo IN (SELECT 3 UNION SELECT 1 INTERSECT SELECT 2)", {{"3"}}},
    // The result keeps the type of highest precedence among all the branches.
    {"SELECT 1 UNION SELECT 2.5 INTERSECT SELECT 2.5", {{"1"}, {"2.5"}}},
    {"SELECT 'x' UNION SELECT 5 INTERSECT SELECT 5", {},
     "Conversion failed when converting the varchar value 'x' to data type int."},
};

Rows Sorted(Rows rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

class JoinAndSetGrouping : public ::testing::Test {
 protected:
  JoinAndSetGrouping() : client_(folder_.Path()) {
    for (const char* statement :
         {"CREATE DATABASE ZEMG", "USE ZEMG",
          "CREATE TABLE dbo.ART (Codigo INTEGER DEFAULT 0, CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
          "CREATE TABLE dbo.ALM (Almacen VARCHAR(4) DEFAULT '', Zona INTEGER NULL, "
          "CONSTRAINT ALM_Clave1 PRIMARY KEY (Almacen))",
          "CREATE TABLE dbo.LIN (Almacen VARCHAR(4) DEFAULT '', Codigo INTEGER DEFAULT 0, Cantidad INTEGER NULL, "
          "CONSTRAINT LIN_Clave1 PRIMARY KEY (Almacen, Codigo))",
          "INSERT INTO ART VALUES (1)", "INSERT INTO ART VALUES (2)", "INSERT INTO ART VALUES (3)",
          "INSERT INTO ALM VALUES ('A', 1)", "INSERT INTO ALM VALUES ('C', 2)",
          "INSERT INTO LIN VALUES ('A', 1, 10)", "INSERT INTO LIN VALUES ('A', 2, 20)",
          "INSERT INTO LIN VALUES ('B', 3, 30)"})
      client_.Run(QString::fromUtf8(statement));
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

}  // namespace

TEST_F(JoinAndSetGrouping, AnswersAsSqlServerGroupsTheStatement) {
  for (const Answer& answer : kAnswers) {
    const QString statement = QString::fromUtf8(answer.statement);
    if (answer.error) {
      EXPECT_EQ(client_.Error(statement).toStdString(), answer.error) << answer.statement;
      continue;
    }
    try {
      EXPECT_EQ(Sorted(client_.Texts(statement)), Sorted(answer.expected)) << answer.statement;
    } catch (const std::exception& error) {
      ADD_FAILURE() << answer.statement << ": " << error.what();
    }
  }
}

// A chain of inner and left joins after a comma brings the same rows as
// written, and keeps the names of its columns where two tables share one.
TEST_F(JoinAndSetGrouping, AChainOfInnerJoinsAfterACommaKeepsItsColumnNames) {
  const SqlRows rows = client_.Run(u"SELECT LIN.Almacen, ALM.Almacen, COUNT(*) FROM ART, ALM JOIN LIN "
                                   "ON ALM.Almacen = LIN.Almacen LEFT JOIN ART b ON b.Codigo = LIN.Codigo "
                                   "GROUP BY LIN.Almacen, ALM.Almacen"_qs);
  EXPECT_EQ(rows.columns.mid(0, 2), QStringList({u"Almacen"_qs, u"Almacen"_qs}));
  ASSERT_EQ(rows.rows.size(), 1);
  EXPECT_EQ(rows.rows[0][2].toInt(), 6);
}
