#include "platform/sql/SqlDialect.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlMapper.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/sql/ServerClient.h"


#include <gtest/gtest.h>

namespace {

class SqlMapperTest : public ::testing::Test {
 protected:
  SqlMapperTest() {
    SqlDialect::InstallOnEveryConnection();
    connection_ = OpenConnection(folder_.File("DATOS.SQLITE"));
    connection_->Execute(
        u"CREATE TABLE CLIENTES (Codigo INT, Nombre VARCHAR(40), Alta DATETIME, Saldo DECIMAL(10,2), Baja DATE, "
        "PRIMARY KEY (Codigo)) WITHOUT ROWID"_qs);
  }

  QString Map(const QString& statement, const QString& dateFormat = u"mm/dd/yyyy"_qs) {
    return SqlMapper(SqlContext::ForConnection(*connection_, dateFormat)).Map(statement);
  }

  TemporaryFolder folder_;
  std::shared_ptr<Connection> connection_;
};

// Exact texts only of rewrites whose results the conformance run does not reach.
TEST_F(SqlMapperTest, RewritesTheIdiomsOfItsList) {
  const std::pair<const char*, const char*> mappings[] = {
      {"SELECT DISTINCT TOP (2) Nombre FROM [dbo].[CLIENTES] AS X",
       "SELECT DISTINCT  Nombre FROM main.[CLIENTES] AS X LIMIT 2"},
      {"UPDATE CLIENTES SET Nombre = Nombre + 'x' + N'ñ' WHERE Codigo = Codigo + 1 - 2",
       "UPDATE main.CLIENTES SET Nombre = zem_store('VARCHAR(40)', (zem_add(Nombre, 'x', 'ñ'))) WHERE Codigo = "
       "zem_chain(Codigo ,  1 ,  2, '+INT;-INT')"},
      {"SELECT a * 2 + -b, (c + d) * e FROM T", "SELECT zem_add(a * 2, -b), (zem_add(c, d)) * e FROM main.T"},
      {"SELECT CASE WHEN a = 1 THEN 'x' + b ELSE c END + 'z' FROM T",
       "SELECT zem_add(CASE WHEN a = 1 THEN zem_add('x', b) ELSE c END, 'z') FROM main.T"},
      {"SELECT ISNULL(a, ''), LEN(b), SUBSTRING(b, 1, 2), CHARINDEX('|', b), UPPER(b), LTRIM(RTRIM(b)), GETDATE()",
       "SELECT ifnull(a, ''), zem_len(b), zem_substring(b, 1, 2), zem_charindex('|', b), zem_upper(b), "
       "ltrim(rtrim(b)), zem_getdate()"},
      {"SELECT LEFT(a, 2), RIGHT(a, 1) FROM T LEFT JOIN U ON T.x = U.x",
       "SELECT zem_left(a, 2), zem_right(a, 1) FROM main.T LEFT JOIN main.U ON T.x = U.x"},
      {"SELECT Texto FROM T WHERE Clave = 'a' COLLATE SQL_Latin1_General_Cp1_CI_AI -- comentario",
       "SELECT Texto FROM main.T WHERE Clave = 'a' COLLATE \"SQL_Latin1_General_CP1_CI_AI\""},
      {"CREATE TABLE dbo.CLIENTES2 (Codigo INTEGER DEFAULT '' NULL, Nombre CHAR(4) COLLATE Modern_Spanish_ci_ai NULL)",
       "CREATE TABLE main.CLIENTES2 (Codigo INTEGER DEFAULT 0 NULL, Nombre CHAR(4) COLLATE \"Modern_Spanish_CI_AI\" NULL)"},
      {"SELECT A.x FROM A, dbo.B AS b JOIN C c ON c.y = b.y, (SELECT z FROM D) d WHERE A.x IN (SELECT x FROM E)",
       "SELECT A.x FROM main.A, main.B AS b JOIN main.C c ON c.y = b.y, (SELECT z FROM main.D) d WHERE A.x IN "
       "(SELECT x FROM main.E)"},
      {"INSERT T (a) SELECT a FROM U", "INSERT main.T (a) SELECT a FROM main.U"},
      {"DROP TABLE IF EXISTS dbo.T", "DROP TABLE IF EXISTS main.T"},
      {"CREATE UNIQUE INDEX T_Clave ON [T] (a DESC)", "CREATE UNIQUE INDEX main.T_Clave ON [T] (a DESC)"},
      {"CREATE UNIQUE NONCLUSTERED INDEX T_Clave ON T (a)", "CREATE UNIQUE  INDEX main.T_Clave ON T (a)"},
      {"BEGIN TRAN", "BEGIN"},
  };
  for (const auto& [statement, mapped] : mappings)
    EXPECT_EQ(Map(QString::fromUtf8(statement)).toStdString(), mapped) << statement;
}

// Texts become numbers or dates where SQL Server converts them: written
// into or compared with a column of that type, or cast to it.
TEST_F(SqlMapperTest, ConvertsTextsOnlyForTypedColumnsAndCasts) {
  const std::tuple<const char*, const char*, const char*> mappings[] = {
      {"SELECT * FROM CLIENTES WHERE Alta = '01/02/2024 10:15' AND Baja > '01/02/2024 10:15'", "dd/mm/yyyy",
       "SELECT * FROM main.CLIENTES WHERE Alta = '2024-02-01 10:15:00' AND Baja > '2024-02-01 00:00:00'"},
      {"SELECT * FROM CLIENTES C WHERE '01/02/2024' < C.Alta OR C.Alta NOT BETWEEN '1/2/2024' AND '20240301'",
       "mm/dd/yyyy",
       "SELECT * FROM main.CLIENTES C WHERE '2024-01-02 00:00:00' < C.Alta OR C.Alta NOT BETWEEN "
       "'2024-01-02 00:00:00' AND '2024-03-01 00:00:00'"},
      {"SELECT '05/03/2024' FROM CLIENTES WHERE Nombre = '05/03/2024' AND Codigo IN ('1', '', 3) OR Codigo = '1' + '2'",
       "mm/dd/yyyy",
       "SELECT '05/03/2024' FROM main.CLIENTES WHERE Nombre = '05/03/2024' AND Codigo IN (1, 0, 3) OR Codigo = "
       "zem_add('1', '2')"},
      {"UPDATE CLIENTES SET Saldo = Saldo * 2, Alta = GETDATE() WHERE Codigo = ''", "mm/dd/yyyy",
       "UPDATE main.CLIENTES SET Saldo = zem_store('DECIMAL(10,2)', (Saldo * 2)), Alta = zem_store('DATETIME', "
       "(zem_getdate()), 'mm/dd/yyyy') WHERE Codigo = 0"},
      {"SELECT * FROM CLIENTES WHERE ISNULL(Alta, '12/30/1899') = '12/30/1899' OR '' = COALESCE(Codigo, '')",
       "mm/dd/yyyy",
       "SELECT * FROM main.CLIENTES WHERE ifnull(Alta, '1899-12-30 00:00:00') = '1899-12-30 00:00:00' OR 0 = "
       "coalesce(Codigo, 0)"},
  };
  for (const auto& [statement, dateFormat, mapped] : mappings)
    EXPECT_EQ(Map(QString::fromUtf8(statement), QString::fromLatin1(dateFormat)), QString::fromUtf8(mapped))
        << statement;
}

TEST_F(SqlMapperTest, RefusesWhatItDoesNotKnow) {
  connection_->Execute(u"CREATE VIEW VCLIENTES AS SELECT * FROM CLIENTES"_qs);
  const std::tuple<const char*, const char*> refusals[] = {
      {"SELECT @Codigo", "'@Codigo' is not supported by the embedded server."},
      {"SELECT @@SPID", "'@@SPID' is not supported by the embedded server."},
      {"SELECT TOP 1 WITH TIES Codigo FROM CLIENTES ORDER BY Codigo", "'TOP 1 WITH' is not supported by the embedded server."},
      {"SELECT NEWID()", "'NEWID' is not a recognized built-in function name."},
      {"SELECT STDEV(Codigo) FROM CLIENTES", "'STDEV' is not a recognized built-in function name."},
      {"SELECT LEN(a, b) FROM T", "The len function requires 1 argument(s)."},
      {"SELECT * FROM #TEMP1", "'#TEMP1' is not supported by the embedded server."},
      {"DELETE C FROM VCLIENTES C JOIN T ON T.x = C.Codigo",
       "'UPDATE or DELETE of the view VCLIENTES through a FROM' is not supported by the embedded server."},
      {"SELECT * FROM SRV.EMP.dbo.CLIENTES", "'SRV.EMP.dbo.CLIENTES' is not supported by the embedded server."},
      {"CREATE TABLE T (Id INTEGER IDENTITY(10,0))", "'IDENTITY(10,0)' is not supported by the embedded server."},
      {"CREATE PROCEDURE P AS SELECT 1", "'CREATE PROCEDURE' is not supported by the embedded server."},
      {"DECLARE @x INT", "'DECLARE @x' is not supported by the embedded server."},
      {"SELECT 1; SELECT 2", "Several statements in one text are not supported by the embedded server."},
      {"SELECT 'sin cerrar", "Unclosed quotation mark after the character string ''sin cerrar'."},
      {"SELECT * FROM INFORMATION_SCHEMA.ROUTINES", "Invalid object name 'INFORMATION_SCHEMA.ROUTINES'."},
  };
  for (const auto& [statement, message] : refusals)
    EXPECT_EQ(DriverMessageOf([&] { Map(QString::fromUtf8(statement)); }), QString::fromUtf8(message)) << statement;
}

// OFFSET and FETCH counts given as parameters take their values in the order
// SQL Server binds them, and are checked as SQL Server checks them.
TEST_F(SqlMapperTest, OffsetAndFetchTakeTheirParametersInOrder) {
  connection_->Execute(u"INSERT INTO CLIENTES (Codigo) VALUES (1), (2), (3), (4), (5), (6), (7), (8)"_qs);
  EXPECT_EQ(Map(u"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 200 ROWS FETCH NEXT 100 ROWS ONLY"_qs),
            u"SELECT Codigo FROM main.CLIENTES ORDER BY Codigo  LIMIT 100 OFFSET 200"_qs);
  const auto codigos = [this](const char* statement, const QVariantList& parametros) {
    QList<int> leidos;
    for (const QVariantList& fila : connection_->QueryRows(Map(QString::fromUtf8(statement)), parametros).rows)
      leidos << fila.value(0).toInt();
    return leidos;
  };
  const std::tuple<const char*, QVariantList, QList<int>> casos[] = {
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET ? ROWS FETCH NEXT ? ROWS ONLY", {2, 3}, {3, 4, 5}},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET :desde ROWS FETCH FIRST :cuantos ROWS ONLY", {5, 2}, {6, 7}},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo DESC OFFSET (? + 1) ROWS FETCH NEXT ? * 2 ROWS ONLY", {0, 1}, {7, 6}},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET ? ROWS", {u"6"_qs}, {7, 8}},
      {"SELECT Codigo FROM CLIENTES WHERE Codigo IN (SELECT Codigo FROM CLIENTES ORDER BY Codigo DESC OFFSET ? ROWS "
       "FETCH NEXT ? ROWS ONLY) AND Codigo > ? ORDER BY Codigo",
       {1, 3, 6}, {7}},
  };
  for (const auto& [statement, parametros, esperados] : casos)
    EXPECT_EQ(codigos(statement, parametros), esperados) << statement;
  const std::tuple<const char*, QVariantList, const char*> rechazos[] = {
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET ? ROWS", {-1},
       "The offset specified in a OFFSET clause may not be negative."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET ? ROWS FETCH NEXT ? ROWS ONLY", {0, 0},
       "The number of rows provided for a FETCH clause must be greater then zero."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET ? ROWS FETCH NEXT ? ROWS ONLY", {0, QVariant()},
       "The number of rows provided for a FETCH clause must be an integer."},
  };
  for (const auto& [statement, parametros, mensaje] : rechazos)
    EXPECT_EQ(DriverMessageOf([&] { codigos(statement, parametros); }), QString::fromUtf8(mensaje)) << statement;
}

TEST_F(SqlMapperTest, NestingBeyondAHundredLevelsIsRefused) {
  for (const auto& [open, close, levels] :
       {std::tuple(u"("_qs, u")"_qs, 4400), std::tuple(u"(CASE WHEN 1 = 1 THEN "_qs, u" END)"_qs, 51)})
    EXPECT_EQ(DriverMessageOf([&] { Map(u"SELECT "_qs + open.repeated(levels) + u"1"_qs + close.repeated(levels)); }),
              u"Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into smaller "
              "queries."_qs)
        << levels;
  const QString hundred = u"SELECT "_qs + u"("_qs.repeated(100) + u"1"_qs + u")"_qs.repeated(100);
  EXPECT_EQ(Map(hundred), hundred);
}

// Long enough that mapping it in quadratic time would not end within the
// test's limit.
TEST_F(SqlMapperTest, ALongChainMapsWhole) {
  constexpr int kTerms = 40000;
  const QString mapped = Map(u"SELECT T.a"_qs + u" + T.a"_qs.repeated(kTerms - 1) + u" - b + c FROM T"_qs);
  // Many terms to a call, or SQLite's parser would overflow on the nesting.
  EXPECT_LT(mapped.count(u"zem_add("_qs), kTerms / 50);
  EXPECT_EQ(mapped.count(u"T.a"_qs), kTerms);
  EXPECT_TRUE(mapped.endsWith(u", T.a) - b, c) FROM main.T"_qs));
}

}  // namespace
