#include "platform/sql/SqlError.h"
#include "tests/platform/sql/ServerAnswers.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <optional>

// Expressions and built-ins on the embedded server against the answer SQL
// Server documents: each operation of a whole number type checks its own
// result against the type's range, and valid T-SQL runs.

namespace {

const char* const kTables[] = {
    "USE master CREATE DATABASE ZEMT",
    "USE ZEMT",
    "CREATE TABLE dbo.FAMILIA (Familia VARCHAR(4) DEFAULT '', Nombre VARCHAR(20) DEFAULT '' NULL, "
    "CONSTRAINT FAMILIA_Clave1 PRIMARY KEY (Familia))",
    "CREATE TABLE dbo.ART (Codigo INTEGER DEFAULT 0, Familia VARCHAR(4) DEFAULT '' NULL, Stock INTEGER NULL, "
    "CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
    "CREATE TABLE dbo.LIN (Almacen INTEGER DEFAULT 0, Codigo INTEGER DEFAULT 0, Cantidad INTEGER NULL, "
    "CONSTRAINT LIN_Clave1 PRIMARY KEY (Almacen, Codigo))",
    "CREATE TABLE dbo.ALM (Almacen INTEGER DEFAULT 0, Zona INTEGER NULL, CONSTRAINT ALM_Clave1 PRIMARY KEY (Almacen))",
    "CREATE TABLE dbo.NUM (Id INTEGER DEFAULT 0, Grande BIGINT NULL, CONSTRAINT NUM_Clave1 PRIMARY KEY (Id))",
    "INSERT INTO FAMILIA (Familia, Nombre) VALUES ('A', 'Alfa')",
    "INSERT INTO FAMILIA (Familia, Nombre) VALUES ('B', 'Beta')",
    "INSERT INTO ART (Codigo, Familia, Stock) VALUES (1, 'A', 2147483647)",
    "INSERT INTO ART (Codigo, Familia, Stock) VALUES (2, 'B', 5)",
    "INSERT INTO LIN (Almacen, Codigo, Cantidad) VALUES (1, 1, -2147483648)",
    "INSERT INTO LIN (Almacen, Codigo, Cantidad) VALUES (1, 2, 7)",
    "INSERT INTO LIN (Almacen, Codigo, Cantidad) VALUES (2, 1, 4)",
    "INSERT INTO ALM (Almacen, Zona) VALUES (1, 1)",
    "INSERT INTO ALM (Almacen, Zona) VALUES (2, 2)",
    "INSERT INTO NUM (Id, Grande) VALUES (1, 9223372036854775807)",
    "INSERT INTO NUM (Id, Grande) VALUES (2, 9007199254740993)",
    "INSERT INTO NUM (Id, Grande) VALUES (3, -9223372036854775807 - 1)",
};

constexpr const char* kInt = "Arithmetic overflow error converting expression to data type int.";
constexpr const char* kBigint = "Arithmetic overflow error converting expression to data type bigint.";

const Answer kRanges[] = {
    // Negation and ABS keep their operand's type.
    {"SELECT -Cantidad FROM LIN WHERE Almacen = 1 AND Codigo = 1", {}, kInt},
    {"SELECT ABS(Cantidad) FROM LIN WHERE Almacen = 1 AND Codigo = 1", {}, kInt},
    {"SELECT -Cantidad, ABS(Cantidad), ABS(-Cantidad), - -Cantidad FROM LIN WHERE Almacen = 1 AND Codigo = 2",
     {{"-7", "7", "7", "7"}}},
    {"SELECT Codigo FROM LIN WHERE -Cantidad > 0", {}, kInt},
    // However the column is named.
    {"SELECT dbo.LIN.Cantidad - 1 FROM dbo.LIN WHERE Almacen = 1 AND Codigo = 1", {}, kInt},
    {"SELECT dbo.ART.Stock + 1 FROM ART WHERE Codigo = 1", {}, kInt},
    {"SELECT D.S + 1 FROM (SELECT Stock AS S FROM ART WHERE Codigo = 1) D", {}, kInt},
    {"SELECT S + 1, Doble - 1 FROM (SELECT Stock S, Stock * 2 AS Doble FROM ART WHERE Codigo = 2) AS D", {{"6", "9"}}},
    {"SELECT a.Stock + 1 FROM LIN l JOIN ALM m ON m.Almacen = l.Almacen, ART a WHERE a.Codigo = 1 AND l.Codigo = 2",
     {}, kInt},
    // Each operation of a chain, not only its end.
    {"SELECT Stock + 1 - 1 FROM ART WHERE Codigo = 1", {}, kInt},
    {"SELECT 1 + Stock - 1 FROM ART WHERE Codigo = 1", {}, kInt},
    {"SELECT Stock - 1 + 1, Stock - 1 + 1 * 1, Stock * 1 - 2 + 1 FROM ART WHERE Codigo = 1",
     {{"2147483647", "2147483647", "2147483646"}}},
    {"SELECT Stock - 1 + 2 * 1 FROM ART WHERE Codigo = 1", {}, kInt},
    {"UPDATE ART SET Stock = Stock + 1 - 1 WHERE Codigo = 1", {}, kInt},
    // A bigint names its own type, and is exact past 2^53.
    {"SELECT Grande + 1 FROM NUM WHERE Id = 1", {}, kBigint},
    {"SELECT CAST(Grande AS BIGINT) + 1 FROM NUM WHERE Id = 1", {}, kBigint},
    {"SELECT -Grande FROM NUM WHERE Id = 3", {}, kBigint},
    {"SELECT ABS(Grande) FROM NUM WHERE Id = 3", {}, kBigint},
    {"SELECT Grande, Grande + 1, Grande - 1, Grande * 1, -Grande, ABS(Grande), Grande / 3 FROM NUM WHERE Id = 2",
     {{"9007199254740993", "9007199254740994", "9007199254740992", "9007199254740993", "-9007199254740993",
       "9007199254740993", "3002399751580331"}}},
    {"SELECT Grande - 1 + 1, SUM(Grande) FROM NUM WHERE Id = 1 GROUP BY Grande",
     {{"9223372036854775807", "9223372036854775807"}}},
};

const Answer kValidTsql[] = {
    {"SELECT TOP (SELECT COUNT(*) FROM ALM) Codigo FROM LIN ORDER BY Almacen, Codigo", {{"1"}, {"2"}}},
    {"SELECT TOP ((SELECT COUNT(*) FROM ALM) - 1) Codigo FROM LIN ORDER BY Almacen, Codigo", {{"1"}}},
    // A table of a parenthesised join named like a column of the target.
    {"UPDATE ART SET Stock = 6 FROM (ART JOIN FAMILIA ON FAMILIA.Familia = ART.Familia) WHERE FAMILIA.Nombre = 'Beta'",
     {}},
    {"SELECT Codigo, Stock FROM ART WHERE Familia = 'B'", {{"2", "6"}}},
    {"UPDATE a SET Stock = 5 FROM (ART a INNER JOIN FAMILIA ON FAMILIA.Familia = a.Familia) WHERE FAMILIA.Nombre = 'Beta'",
     {}},
    {"SELECT Stock FROM ART WHERE Codigo = 2", {{"5"}}},
    {"UPDATE ART SET Stock = 8 FROM (FAMILIA JOIN ART ON FAMILIA.Familia = ART.Familia) WHERE FAMILIA.Nombre = 'Beta'",
     {}},
    {"UPDATE ART SET Stock = Stock + 1 FROM (FAMILIA f INNER JOIN ART ON f.Familia = ART.Familia) "
     "WHERE f.Nombre = 'Beta'",
     {}},
    {"SELECT Codigo, Stock FROM ART ORDER BY Codigo", {{"1", "2147483647"}, {"2", "9"}}},
    // A user's alias never meets the mapper's own names.
    {"UPDATE zem_target SET Stock = 4 FROM ART zem_target WHERE zem_target.Codigo = 2", {}},
    {"UPDATE ART SET Stock = 3 FROM ART JOIN FAMILIA zem_target ON zem_target.Familia = ART.Familia "
     "WHERE zem_target.Nombre = 'Beta'",
     {}},
    {"SELECT Stock FROM ART WHERE Codigo = 2", {{"3"}}},
    {"UPDATE ART SET Stock = 5 WHERE Codigo = 2", {}},
    // AVG of whole numbers is a whole number, truncated.
    {"SELECT AVG(Cantidad), AVG(0 - Cantidad), AVG(DISTINCT Cantidad) FROM LIN WHERE Cantidad > 0", {{"5", "-5", "5"}}},
    {"SELECT AVG(CAST(Cantidad AS DECIMAL(10,2))), AVG(Cantidad * 1.0) FROM LIN WHERE Cantidad > 0", {{"5.5", "5.5"}}},
    {"SELECT AVG(Stock) FROM ART WHERE Codigo = 3", {{"NULL"}}},
    {"SELECT AVG(Cantidad) / 2 FROM LIN WHERE Cantidad > 0", {{"2"}}},
    {"SELECT REPLICATE('ab', 3), REPLICATE('x', 0), REPLICATE('x', -1), LEN(REPLICATE('x', 9000)), REPLICATE(NULL, 2)",
     {{"ababab", "", "NULL", "8000", "NULL"}}},
    {"SELECT REPLICATE('0', 4 - LEN(Codigo)) + CAST(Codigo AS VARCHAR(4)) FROM ART WHERE Codigo = 2", {{"0002"}}},
    // Blanks around a name's dots.
    {"SELECT Nombre FROM dbo . FAMILIA WHERE Familia = 'A'", {{"Alfa"}}},
    {"SELECT F . Nombre FROM ZEMT . dbo .FAMILIA F WHERE F .Familia = 'B'", {{"Beta"}}},
    // "^" is T-SQL's exclusive or; "&", "^" and "|" bind as "+" and "-" do.
    {"SELECT 5 ^ 1, 12 ^ 10 ^ 6, 6 & 3 | 8, 2 & 1 + 4, 1 + 2 & 3, Codigo ^ 3 FROM ART WHERE Codigo = 2",
     {{"4", "0", "10", "4", "3", "1"}}},
};

class OperationTypes : public ServerAnswers {
 protected:
  OperationTypes() : ServerAnswers(kTables) {}
};

TEST_F(OperationTypes, EachOperationStaysWithinItsTypesRange) {
  ExpectAnswers(kRanges, std::size(kRanges));
  EXPECT_EQ(client_.Texts(u"SELECT Stock FROM ART WHERE Codigo = 1"_qs), Rows({{"2147483647"}}));
}

TEST_F(OperationTypes, ValidTsqlRunsWithSqlServersAnswer) { ExpectAnswers(kValidTsql, std::size(kValidTsql)); }

// Random chains of "+", "-" and "*" over int columns and literals, against
// the same chain worked out here: T-SQL's precedence, each operation
// checked against int's range.
TEST_F(OperationTypes, RandomIntChainsOverflowWhereSqlServersWould) {
  const qint64 values[] = {2147483647, -2147483647 - 1, 46341, -46341, 65536, 1, 0, -1, 2, 1073741824};
  client_.Run(u"CREATE TABLE dbo.VAL (Id INTEGER DEFAULT 0, V INTEGER NULL, CONSTRAINT VAL_Clave1 PRIMARY KEY (Id))"_qs);
  for (size_t i = 0; i < std::size(values); ++i)
    client_.Run(u"INSERT INTO VAL (Id, V) VALUES (%1, %2)"_qs.arg(i).arg(values[i]));
  QRandomGenerator random(20260108);
  const QChar operators[] = {u'+', u'-', u'*'};
  int overflows = 0;
  for (int n = 0; n < 300; ++n) {
    const int count = 2 + int(random.bounded(4));
    std::vector<qint64> operands;
    std::vector<QChar> ops;
    QString text;
    for (int k = 0; k < count; ++k) {
      const size_t pick = random.bounded(quint32(std::size(values)));
      const bool literal = random.bounded(3) == 0 && values[pick] >= 0;
      operands.push_back(values[pick]);
      text += literal ? QString::number(values[pick]) : u"(SELECT V FROM VAL WHERE Id = %1)"_qs.arg(pick);
      if (k + 1 < count) {
        ops.push_back(operators[random.bounded(3)]);
        text += u' ' + ops.back() + u' ';
      }
    }
    // "*" first, then "+" and "-" from the left; nothing past the first overflow.
    auto fits = [](qint64 v) { return v >= -2147483648LL && v <= 2147483647LL; };
    std::optional<qint64> result;
    std::vector<qint64> terms{operands[0]};
    std::vector<QChar> additive;
    bool overflow = false;
    for (size_t k = 0; k < ops.size() && !overflow; ++k) {
      if (ops[k] == u'*') {
        terms.back() *= operands[k + 1];
        overflow = !fits(terms.back());
      } else {
        additive.push_back(ops[k]);
        terms.push_back(operands[k + 1]);
      }
    }
    qint64 sum = terms[0];
    for (size_t k = 0; k < additive.size() && !overflow; ++k) {
      sum = additive[k] == u'+' ? sum + terms[k + 1] : sum - terms[k + 1];
      overflow = !fits(sum);
    }
    if (!overflow) result = sum;
    overflows += overflow;
    const QString expected = result ? QString::number(*result) : u"error: "_qs + QLatin1String(kInt);
    EXPECT_EQ(Seen(u"SELECT "_qs + text), expected) << text.toStdString();
  }
  EXPECT_GT(overflows, 30);
  EXPECT_LT(overflows, 270);
}

}  // namespace
