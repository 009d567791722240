#include "platform/sql/SqlError.h"
#include "tests/platform/sql/ServerAnswers.h"

#include <gtest/gtest.h>

// The type an expression answers in, on the embedded server, against the
// answer SQL Server documents: CASE, COALESCE and arithmetic take the type
// of highest precedence among their parts, ISNULL its first argument's, and
// arithmetic in a whole number type stops at the type's range.

namespace {

const char* const kTables[] = {
    "USE master CREATE DATABASE ZEMT COLLATE SQL_Latin1_General_Cp1_CI_AI",
    "USE ZEMT",
    "CREATE TABLE dbo.ART (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, Precio DECIMAL(8,3) "
    "DEFAULT 0 NULL, Stock SMALLINT NULL, CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
    "INSERT INTO ART (Codigo, Nombre, Precio, Stock) VALUES (1, 'Uno', 2.5, 10)",
    "INSERT INTO ART (Codigo, Nombre, Precio, Stock) VALUES (2, 'Dos', 7.75, NULL)",
    "INSERT INTO ART (Codigo, Nombre, Precio, Stock) VALUES (3, 'Tres', 5, 300)",
    "CREATE TABLE dbo.SALDO (Codigo INTEGER DEFAULT 0, Importe INTEGER NULL, Veces TINYINT NULL, Total BIGINT NULL, "
    "CONSTRAINT SALDO_Clave1 PRIMARY KEY (Codigo))",
    "INSERT INTO SALDO (Codigo, Importe, Veces) VALUES (1, 2000000000, 200)",
    "INSERT INTO SALDO (Codigo, Importe, Veces) VALUES (2, 2000000000, 100)",
};

constexpr const char* kIntOverflow = "Arithmetic overflow error converting expression to data type int.";

const Answer kAnswers[] = {
    // CASE: the highest type of its results, whichever result a row takes.
    {"SELECT CASE WHEN Codigo = 1 THEN 1 ELSE 2.5 END / 2 FROM ART WHERE Codigo = 1", {{"0.5"}}},
    {"SELECT CASE WHEN Codigo = 1 THEN 1 ELSE 2.5 END / 2 FROM ART WHERE Codigo = 2", {{"1.25"}}},
    {"SELECT CASE Codigo WHEN 2 THEN Nombre ELSE Codigo END FROM ART WHERE Codigo = 2", {},
     "Conversion failed when converting the varchar value 'Dos' to data type int."},
    {"SELECT CASE Codigo WHEN 2 THEN Nombre ELSE Codigo END FROM ART WHERE Codigo = 1", {{"1"}}},
    {"SELECT CASE WHEN Codigo = 1 THEN '5' ELSE Codigo END + '1' FROM ART WHERE Codigo = 1", {{"6"}}},
    {"SELECT CASE WHEN Codigo = 1 THEN Stock ELSE Precio END / 4 FROM ART WHERE Codigo = 1", {{"2.5"}}},
    {"SELECT CASE WHEN Codigo > 1 THEN 'a' ELSE Nombre END + 'z' FROM ART WHERE Codigo = 1", {{"Unoz"}}},
    {"SELECT CASE WHEN Codigo = 1 THEN NULL WHEN Codigo = 2 THEN 3 ELSE CASE WHEN Stock > 0 THEN 0.5 END END * 2 "
     "FROM ART ORDER BY Codigo",
     {{"NULL"}, {"6"}, {"1"}}},
    // COALESCE of an expression: its type counts as a column's does.
    {"SELECT COALESCE(Nombre, Stock + 1) FROM ART WHERE Codigo = 1", {},
     "Conversion failed when converting the varchar value 'Uno' to data type int."},
    {"SELECT COALESCE(Stock, CASE WHEN Codigo = 2 THEN 1 ELSE 0 END + 0.5) / 2 FROM ART WHERE Codigo = 2", {{"0.75"}}},
    // ISNULL: the first argument's type, the replacement converted to it.
    {"SELECT ISNULL(Stock, Precio) FROM ART WHERE Codigo = 2", {{"7"}}},
    {"SELECT ISNULL(Stock, Precio) / 2 FROM ART WHERE Codigo = 2", {{"3"}}},
    {"SELECT ISNULL(Precio, 0) / 2, ISNULL(Stock, Codigo) FROM ART WHERE Codigo = 3", {{"2.5", "300"}}},
    {"SELECT ISNULL(Stock, 'x') FROM ART WHERE Codigo = 2", {},
     "Conversion failed when converting the varchar value 'x' to data type smallint."},
    {"SELECT ISNULL(CAST(NULL AS VARCHAR(3)), 'abcdef'), ISNULL(CAST(NULL AS VARCHAR(3)), 12) + 'x'",
     {{"abc", "12x"}}},
    {"SELECT ISNULL(CAST(NULL AS VARCHAR(3)), CAST('abcdef' AS VARCHAR(MAX))), ISNULL(Nombre, 'x') FROM ART "
     "WHERE Codigo = 1",
     {{"abc", "Uno"}}},
    // A decimal divides as a decimal, though SQLite keeps 5.000 as 5.
    {"SELECT Precio / 2, Precio * Codigo / 2, Codigo / 2 + Precio FROM ART WHERE Codigo = 3", {{"2.5", "7.5", "6"}}},
    {"SELECT SUM(Precio) / 2 FROM ART WHERE Codigo = 3", {{"2.5"}}},
    {"SELECT Codigo / 2, -Codigo / 2, Stock / 7 FROM ART WHERE Codigo = 3", {{"1", "-1", "42"}}},
    // "%" of a decimal keeps its fraction; of a float SQL Server refuses it.
    {"SELECT Precio % 2, -Precio % 2, 7 % 2.5, Precio * 2 % 3 * 2, 0.3 % 0.1, Codigo % 2 FROM ART WHERE Codigo = 2",
     {{"1.75", "-1.75", "2", "1", "0", "0"}}},
    {"SELECT Precio % (Codigo - 2) FROM ART WHERE Codigo = 2", {}, "Divide by zero error encountered."},
    {"SELECT Precio % CAST(2 AS FLOAT) FROM ART", {}, "The data types decimal and float are incompatible in the modulo operator."},
    // Whole number arithmetic stops at its type's range.
    {"SELECT Codigo + 2147483647 FROM ART WHERE Codigo = 1", {}, kIntOverflow},
    {"SELECT Codigo + 2147483646 FROM ART WHERE Codigo = 1", {{"2147483647"}}},
    {"SELECT Codigo + 2147483648 FROM ART WHERE Codigo = 1", {{"2147483649"}}},
    {"SELECT -Codigo - 2147483647 FROM ART WHERE Codigo = 2", {}, kIntOverflow},
    {"SELECT Codigo FROM ART WHERE Codigo * 1500000000 > 0", {}, kIntOverflow},
    {"SELECT (Codigo + 1) * 1073741824 FROM ART WHERE Codigo = 1", {}, kIntOverflow},
    {"SELECT Importe * 2 FROM SALDO WHERE Codigo = 1", {}, kIntOverflow},
    {"SELECT Importe + Importe - 0 FROM SALDO WHERE Codigo = 1", {}, kIntOverflow},
    {"SELECT CAST(Importe AS BIGINT) * 2, Importe * 2.0 FROM SALDO WHERE Codigo = 1", {{"4000000000", "4000000000"}}},
    {"SELECT Stock * 200, Stock + 32767 FROM ART WHERE Codigo = 3", {{"60000", "33067"}}},
    {"SELECT Codigo + 1 Siguiente, Codigo * 2 AS Doble, (Codigo - 1) Previo FROM ART WHERE Codigo = 1",
     {{"2", "2", "0"}}},
    {"INSERT INTO SALDO (Codigo, Importe) VALUES (3, 2147483647 + 1)", {}, kIntOverflow},
    {"UPDATE ART SET Stock = Stock + 1 WHERE Codigo = 1", {}},
    {"SELECT (SELECT COUNT(*) FROM SALDO) + 2147483647", {}, kIntOverflow},
    {"SELECT Stock, (SELECT MAX(Precio) FROM ART AS A) / 2, (SELECT TOP 1 Codigo FROM SALDO) + 2147483646 "
     "FROM ART WHERE Codigo = 1",
     {{"11", "3.875", "2147483647"}}},
    {"SELECT Veces + Veces FROM SALDO WHERE Codigo = 1", {},
     "Arithmetic overflow error converting expression to data type tinyint."},
    {"SELECT Veces - Veces - Veces FROM SALDO WHERE Codigo = 2", {},
     "Arithmetic overflow error converting expression to data type tinyint."},
    {"SELECT Veces + 1, Veces - 101, Veces - Veces * 2 FROM SALDO WHERE Codigo = 2", {{"101", "-1", "-100"}}},
    {"SELECT CAST(Codigo AS BIGINT) * CAST(4611686018427387904 AS BIGINT) FROM ART WHERE Codigo = 2", {},
     "Arithmetic overflow error converting expression to data type bigint."},
    {"SELECT CAST(Codigo AS BIGINT) * 4611686018427387903 FROM ART WHERE Codigo = 2", {{"9223372036854775806"}}},
    // SUM of int, smallint or tinyint is an int; of bigint a bigint.
    {"SELECT SUM(Importe) FROM SALDO", {}, kIntOverflow},
    {"SELECT SUM(CAST(Importe AS BIGINT)), SUM(Veces), SUM(Importe / 2) FROM SALDO", {{"4000000000", "300", "2000000000"}}},
    {"SELECT Codigo FROM SALDO GROUP BY Codigo HAVING SUM(Importe) + Codigo > 2000000001", {{"2"}}},
    {"SELECT COUNT(*) FROM SALDO HAVING SUM(Importe) > 0", {}, kIntOverflow},
    {"SELECT SUM(ALL Importe + 0) FROM SALDO", {}, kIntOverflow},
    {"SELECT SUM(DISTINCT Importe), SUM(DISTINCT Veces) FROM SALDO", {{"2000000000", "300"}}},
    {"SELECT COALESCE(Codigo, (SELECT Codigo FROM SALDO WHERE Codigo = 9)) + 2147483647 FROM ART WHERE Codigo = 1", {},
     kIntOverflow},
    {"SELECT SUM(Importe) FROM SALDO WHERE Codigo = 1", {{"2000000000"}}},
    // UNION, EXCEPT and INTERSECT: each column the highest type of its branches'.
    {"SELECT Nombre FROM ART WHERE Codigo = 1 UNION ALL SELECT Codigo FROM ART WHERE Codigo = 2", {},
     "Conversion failed when converting the varchar value 'Uno' to data type int."},
    {"SELECT TOP 1 CASE WHEN Codigo = 1 THEN Nombre ELSE 'x' END Valor FROM ART WHERE Codigo = 1 UNION ALL "
     "SELECT TOP 1 CASE WHEN Codigo = 1 THEN 1 ELSE 2.5 END FROM ART WHERE Codigo = 1",
     {}, "Error converting data type varchar to numeric."},
    {"SELECT Codigo, '7' FROM ART WHERE Codigo = 1 UNION SELECT Stock, Codigo / 2 FROM ART WHERE Codigo = 3 "
     "ORDER BY 1",
     {{"1", "7"}, {"300", "1"}}},
    // A branch's own arithmetic is done in its own type first.
    {"SELECT Codigo / 2 AS Mitad FROM ART WHERE Codigo = 3 UNION ALL SELECT Precio FROM ART WHERE Codigo = 2",
     {{"1"}, {"7.75"}}},
    {"SELECT Stock * 200 FROM ART WHERE Codigo = 3 UNION SELECT NULL UNION SELECT Veces FROM SALDO WHERE Codigo = 1 "
     "ORDER BY 1",
     {{"NULL"}, {"200"}, {"60000"}}},
    {"SELECT Nombre, Codigo FROM ART WHERE Codigo = 1 EXCEPT SELECT 'Dos', Codigo FROM ART WHERE Codigo = 2",
     {{"Uno", "1"}}},
    {"SELECT Codigo FROM ART WHERE Codigo IN (SELECT Importe / 1000000000 FROM SALDO UNION SELECT '3')"
     " ORDER BY Codigo",
     {{"2"}, {"3"}}},
};

class ResultTypes : public ServerAnswers {
 protected:
  ResultTypes() : ServerAnswers(kTables) {}
};

TEST_F(ResultTypes, ExpressionsAnswerInTheTypeSqlServerGivesThem) {
  ExpectAnswers(kAnswers, std::size(kAnswers));
}

// An UPDATE whose arithmetic overflows on a later row leaves the earlier
// rows as they were.
TEST_F(ResultTypes, AnOverflowMidwayChangesNoRow) {
  const Rows before = client_.Texts(u"SELECT Codigo, Importe, Total FROM SALDO ORDER BY Codigo"_qs);
  EXPECT_EQ(Seen(u"UPDATE SALDO SET Total = Codigo * 1500000000"_qs), u"error: "_qs + QLatin1String(kIntOverflow));
  EXPECT_EQ(Seen(u"UPDATE SALDO SET Importe = Importe - 1, Total = Importe + Codigo * 147483647"_qs),
            u"error: "_qs + QLatin1String(kIntOverflow));
  EXPECT_EQ(client_.Texts(u"SELECT Codigo, Importe, Total FROM SALDO ORDER BY Codigo"_qs), before);
  EXPECT_EQ(Seen(u"UPDATE SALDO SET Total = CAST(Codigo AS BIGINT) * 1500000000"_qs), QString());
  EXPECT_EQ(client_.Texts(u"SELECT Total FROM SALDO ORDER BY Codigo"_qs), Rows({{"1500000000"}, {"3000000000"}}));
}

// A sum of 131,072 rows past int's range fails as one of two rows does;
// within it, it answers the sum.
TEST_F(ResultTypes, ASumOfManyRowsStopsAtTheIntRange) {
  client_.Run(u"CREATE TABLE dbo.MOV (Id INTEGER DEFAULT 0, Unidades INTEGER NULL, CONSTRAINT MOV_Clave1 PRIMARY KEY (Id))"_qs);
  client_.Run(u"INSERT INTO MOV (Id, Unidades) VALUES (1, 30000)"_qs);
  for (int rows = 1; rows < 131072; rows *= 2)
    client_.Run(u"INSERT INTO MOV (Id, Unidades) SELECT Id + %1, Unidades FROM MOV"_qs.arg(rows));
  EXPECT_EQ(Seen(u"SELECT SUM(Unidades) FROM MOV WHERE Id <= 71582"_qs), u"2147460000"_qs);
  EXPECT_EQ(Seen(u"SELECT SUM(Unidades) FROM MOV"_qs), u"error: "_qs + QLatin1String(kIntOverflow));
  EXPECT_EQ(Seen(u"SELECT SUM(CAST(Unidades AS BIGINT)), COUNT(*) FROM MOV"_qs), u"3932160000 | 131072"_qs);
}

// What the embedded server does not build is refused in its own words,
// and leaves no table behind.
TEST_F(ResultTypes, SelectIntoAndTemporaryTablesAreRefused) {
  const std::pair<const char*, const char*> refusals[] = {
      {"SELECT Codigo, Nombre INTO COPIA FROM ART", "'SELECT ... INTO' is not supported by the embedded server."},
      {"SELECT * INTO dbo.COPIA FROM ART WHERE Codigo = 1",
       "'SELECT ... INTO' is not supported by the embedded server."},
      {"SELECT Codigo INTO COPIA FROM ART UNION SELECT Codigo FROM SALDO",
       "'SELECT ... INTO' is not supported by the embedded server."},
      {"select Codigo\ninto COPIA from ART", "'SELECT ... INTO' is not supported by the embedded server."},
      {"SELECT * INTO #COPIA FROM ART", "'SELECT ... INTO' is not supported by the embedded server."},
      {"CREATE TABLE #COPIA (Codigo INTEGER)", "'#COPIA' is not supported by the embedded server."},
      {"INSERT INTO #COPIA (Codigo) VALUES (1)", "'#COPIA' is not supported by the embedded server."},
      {"SELECT Codigo FROM #COPIA", "'#COPIA' is not supported by the embedded server."},
      {"SELECT A.Codigo FROM ART A JOIN #COPIA C ON C.Codigo = A.Codigo",
       "'#COPIA' is not supported by the embedded server."},
      {"UPDATE #COPIA SET Codigo = 2", "'#COPIA' is not supported by the embedded server."},
      {"DELETE FROM #COPIA", "'#COPIA' is not supported by the embedded server."},
      {"DROP TABLE #COPIA", "'#COPIA' is not supported by the embedded server."},
      {"CREATE TABLE ##COPIA (Codigo INTEGER)", "'##COPIA' is not supported by the embedded server."},
  };
  for (const auto& [statement, message] : refusals)
    EXPECT_EQ(Seen(QString::fromUtf8(statement)).toStdString(), "error: " + std::string(message)) << statement;
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM sysobjects WHERE name LIKE '%COPIA%'"_qs), Rows({{"0"}}));
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM SALDO"_qs), Rows({{"2"}}));
}

}  // namespace
