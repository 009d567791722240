#include "core/startup/Configuracion.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/TextoSQL.h"


#include <gtest/gtest.h>

TEST(ValorSQL, LiteralOfEveryKind) {
  ASSERT_EQ(FormatoFechaSQL, u"mm/dd/yyyy"_qs);
  ASSERT_EQ(FechaNulaSQL, u"12/30/1899 00:00:00"_qs);
  const std::pair<Variant, const char16_t*> cases[] = {
      {Variant::Double(2.5), u"2.500000"}, {Variant::Double(1234.5), u"1234.500000"},
      {Variant::Double(-1234567.1234567), u"-1234567.123457"}, {Variant::Double(-0.0000004), u"0.000000"},
      {Variant::Single(0.5f), u"0.500000"}, {Variant::Currency(3.25), u"3.250000"}, {Variant::Integer(42), u"42"},
      {Variant::Integer(-7), u"-7"},
      {Variant::String(u"O'Brien"_qs), u"'O'Brien'"},  // the inner quote is left as it is
      {Variant::String(QString()), u"''"}, {Variant::Date(0), u"'12/30/1899 00:00:00'"},
      {Variant::Date(45306.5), u"'01/15/2024 12:00:00'"}, {Variant::Date(-1.25), u"'12/29/1899 06:00:00'"},
      {Variant::Null(), u"''"},
      // Kinds that give no literal at all.
      {Variant::Smallint(3), u""}, {Variant::Int64(3), u""}, {Variant::Boolean(true), u""}, {Variant::Byte(3), u""},
      {Variant::OleStr(u"texto"_qs), u""}, {Variant::Array({Variant::Integer(1)}), u""}, {Variant(), u""},
  };
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(ValorSQL(value), QString::fromUtf16(expected)) << Variant::TypeName(value.Type()).toStdString();
}

TEST(ValorSQL, DatesFollowTheConfiguredFormat) {
  FormatoFechaSQL = u"dd/mm/yyyy"_qs;
  FechaNulaSQL = u"30/12/1899 00:00:00"_qs;
  EXPECT_EQ(ValorSQL(Variant::Date(45306.75)), u"'15/01/2024 18:00:00'"_qs);
  EXPECT_EQ(ValorSQL(Variant::Date(0)), u"'30/12/1899 00:00:00'"_qs);
}

TEST(LiteralSQL, DoublesEveryInnerQuote) {
  EXPECT_EQ(LiteralSQL(u"O'Brien"_qs), u"'O''Brien'"_qs);
  EXPECT_EQ(LiteralSQL(u"a''b"_qs), u"'a''''b'"_qs);
  EXPECT_EQ(LiteralSQL(QString()), u"''"_qs);
  EXPECT_EQ(LiteralSQL(u"x'; DROP TABLE T; --"_qs), u"'x''; DROP TABLE T; --'"_qs);
}

TEST(NombreSQL, QuotesEveryNameThatIsNotAPlainOne) {
  const std::pair<const char*, const char*> casos[] = {
      {"CLIENTES", "CLIENTES"},           {"_Alta", "_Alta"},
      {"Código", "Código"},               {"1Alta", "[1Alta]"},
      {"Por Nombre", "[Por Nombre]"},     {"A_o-_", "[A_o-_]"},
      {"a]b", "[a]]b]"},                  {"x]; DROP TABLE T--", "[x]]; DROP TABLE T--]"},
      {"ñ INT);DELETE FROM V--", "[ñ INT);DELETE FROM V--]"},
      {"#TEMP", "[#TEMP]"},               {"", "[]"},
  };
  for (const auto& [nombre, esperado] : casos)
    EXPECT_EQ(NombreSQL(QString::fromUtf8(nombre)), QString::fromUtf8(esperado)) << nombre;
  // In double quotes, for Interbase, a letter beyond ASCII needs them too.
  const std::pair<const char*, const char*> entreComillas[] = {
      {"CLIENTES", "CLIENTES"}, {"Código", "\"Código\""}, {"Almacén", "\"Almacén\""},
      {"a\"b", "\"a\"\"b\""}, {"Por Nombre", "\"Por Nombre\""},
  };
  for (const auto& [nombre, esperado] : entreComillas)
    EXPECT_EQ(NombreSQL(QString::fromUtf8(nombre), FormaNombreSQL::Comillas), QString::fromUtf8(esperado)) << nombre;
}

TEST(TextoSQL, NombreTablaSQLTakesTheFirstTableAfterFrom) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"SELECT * FROM Clientes WHERE Codigo = 1", u"CLIENTES"}, {u"SELECT *\r\nFROM clientes", u"CLIENTES"},
      {u"SELECT A FROM A,B WHERE 1=1", u"A,B"}, {u"SELECT * FROM  Clientes", u"CLIENTES"},
      {u"SELECT * FROM dbo.Pedidos p", u"DBO.PEDIDOS"}, {u"SELECT 1", u""},
      {u"select * from t", u""},  // only an upper-case FROM counts
      {u"", u""},
  };
  for (const auto& [sql, expected] : cases)
    EXPECT_EQ(NombreTablaSQL(QString::fromUtf16(sql)), QString::fromUtf16(expected))
        << QString::fromUtf16(sql).toStdString();
}

TEST(TextoSQL, AmpliarComparacionesVaciasMatchesNullsAfterTheWhere) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"SELECT * FROM T WHERE A = ''", u"SELECT * FROM T WHERE (A = '' OR A IS NULL)"},
      {u"SELECT * FROM T WHERE A <> ''", u"SELECT * FROM T WHERE (A <> '' AND A IS NOT NULL)"},
      {u"SELECT * FROM T WHERE A = '' AND B <> '' AND C = ''",
       u"SELECT * FROM T WHERE (A = '' OR A IS NULL) AND (B <> '' AND B IS NOT NULL) AND (C = '' OR C IS NULL)"},
      {u"SELECT * FROM T WHERE (T.A = '')", u"SELECT * FROM T WHERE ((T.A = '' OR T.A IS NULL))"},
      {u"select * from t where a = ''", u"select * from t where (a = '' OR a IS NULL)"},
      {u"SELECT * FROM T\r\nWHERE\r\nA = ''", u"SELECT * FROM T\r\nWHERE\r\n(A = '' OR A IS NULL)"},
      // Left as they are:
      {u"UPDATE T SET A = '' WHERE B = ''", u"UPDATE T SET A = '' WHERE B = ''"},
      {u"UPDATE T SET A = ''", u"UPDATE T SET A = ''"}, {u"SELECT * FROM T WHERE A=''", u"SELECT * FROM T WHERE A=''"},
      {u"SELECT * FROM T WHERE X IN ( = '') AND B = ''", u"SELECT * FROM T WHERE X IN ( = '') AND B = ''"},
      {u"SELECT * FROM T WHERE A = 1", u"SELECT * FROM T WHERE A = 1"},
      // Read as tokens: nothing inside a literal, a name or a comment counts.
      {u"SELECT * FROM T WHERE [Mi Campo] = ''", u"SELECT * FROM T WHERE ([Mi Campo] = '' OR [Mi Campo] IS NULL)"},
      {u"SELECT * FROM T WHERE A = 'x = '' y'", u"SELECT * FROM T WHERE A = 'x = '' y'"},
      {u"UPDATE T SET A = 'where b = ''' WHERE C = 1", u"UPDATE T SET A = 'where b = ''' WHERE C = 1"},
      {u"SELECT * FROM NOWHERE /* WHERE A = '' */ -- B = ''", u"SELECT * FROM NOWHERE /* WHERE A = '' */ -- B = ''"},
      {u"SELECT * FROM T WHERE A = '' AND B = 'x", u"SELECT * FROM T WHERE A = '' AND B = 'x"},
  };
  for (const auto& [sql, expected] : cases)
    EXPECT_EQ(AmpliarComparacionesVacias(QString::fromUtf16(sql)), QString::fromUtf16(expected))
        << QString::fromUtf16(sql).toStdString();
}

TEST(Tablas, GeneralAndTemporaryTablesByName) {
  const std::tuple<const char16_t*, bool, bool> cases[] = {
      {u"EMPRESA", true, false},       {u"dbo.EMPRESA", true, false},     {u"EMPRESA.DB", false, false},
      {u"empresa", false, false},      {u"VPART", true, false},           {u"TXIDIOMA", true, false},
      {u"CLIENTES", false, false},     {u"x.EMPRESA.DB", true, false},    {u"TEMP1234", false, false},
      {u"temp12345", false, true},     {u"dbo.TEMP000001_F", false, true}, {u"TEMPORAL", false, false},
      {u"XTEMP12345", false, false},   {u"TEMP000001_F.DB", false, false}, {u"", false, false},
  };
  for (const auto& [name, general, temporary] : cases) {
    EXPECT_EQ(EsTablaGeneral(QString::fromUtf16(name)), general) << QString::fromUtf16(name).toStdString();
    EXPECT_EQ(EsTablaTemporal(QString::fromUtf16(name)), temporary) << QString::fromUtf16(name).toStdString();
  }
}

TEST(TextoSQL, NullComparisonsAreRewrittenOnTokensOnly) {
  const std::tuple<const char16_t*, bool, const char16_t*> casos[] = {
      {u"WHERE A=NULL AND B = NULL", false, u"WHERE A IS NULL  AND B  IS NULL "},
      {u"WHERE A = 'x= NULL' AND B = NULLIF(C, 1)", false, u"WHERE A = 'x= NULL' AND B = NULLIF(C, 1)"},
      {u"WHERE A = '' AND B = \"\" AND C = ' = '''", true, u"WHERE A IS NULL  AND B IS NULL  AND C = ' = '''"},
      {u"WHERE A = ''", false, u"WHERE A = ''"},
  };
  for (const auto& [sql, forzar, esperado] : casos)
    EXPECT_EQ(ComparacionesConNULL(QString::fromUtf16(sql), forzar), QString::fromUtf16(esperado));
}

// Enough comparisons that widening them in quadratic time would not end
// within the test's limit.
TEST(TextoSQL, ManyEmptyComparisonsAreAllWidened) {
  QString sql = u"SELECT * FROM T WHERE A = 1"_qs;
  for (int i = 0; i < 40000; ++i) sql += u" AND C%1 = ''"_qs.arg(i);
  const QString ampliado = AmpliarComparacionesVacias(sql);
  EXPECT_EQ(ampliado.count(QLatin1String(" IS NULL)")), 40000);
  EXPECT_TRUE(ampliado.endsWith(u" AND (C39999 = '' OR C39999 IS NULL)"_qs));
}
