#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/TextoSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/InsercionSQL.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QElapsedTimer>

// Texts typed by users that once rewrote a whole table, matched every record
// or were stored changed: stored and searched exactly as typed.
TEST_F(ConexionesFixture, TypedTextsAreStoredAndSearchedExactly) {
  Iniciar();
  const QString kDatabase = QStringLiteral("Database");
  for (const char* sql : {"CREATE TABLE NOTAS (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) NULL, Memo TEXT NULL, "
                          "CONSTRAINT NOTAS_Clave1 PRIMARY KEY (Codigo))",
                          "INSERT INTO NOTAS (Codigo, Nombre, Memo) VALUES (1, 'uno', 'm1')",
                          "INSERT INTO NOTAS (Codigo, Nombre, Memo) VALUES (2, 'dos', 'm2')"})
    ASSERT_EQ(EjecutarSQL(QString::fromUtf8(sql), kDatabase), QString());
  Table notas;
  notas.SetDatabaseName(QStringLiteral("ZEMEMP"));
  notas.SetTableName(QStringLiteral("NOTAS"));
  notas.Open();
  notas.Next();
  const auto buscar = [&](const QString& valor) {
    return EjecutarSQL(QStringLiteral("SELECT Codigo FROM NOTAS WHERE Memo = ") + LiteralSQL(valor), kDatabase);
  };
  for (const char16_t* tecleado : {u"/*where*//* = ' */), Nombre = 0 --", u"/* = ' */) OR 1 = 1 --", u"where a = ''",
                                   u"WHERE x <> '' AND y = NULL"}) {
    const QString texto = QString::fromUtf16(tecleado);
    EXPECT_EQ(buscar(texto), QString()) << texto.toStdString();
    notas.Edit();
    notas.FieldByName(QStringLiteral("Memo")).SetAsString(texto);
    SentenciaUpdate(notas);
    notas.Cancel();
    EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre, Memo FROM NOTAS ORDER BY Codigo"), kDatabase),
              QStringLiteral("1|uno|m1\r\n2|dos|") + texto);
    EXPECT_EQ(buscar(texto), QStringLiteral("2")) << texto.toStdString();
    EXPECT_EQ(EjecutarSQL(QStringLiteral("UPDATE NOTAS SET Memo = ") + LiteralSQL(texto) +
                              QStringLiteral(" WHERE Codigo = 1"), kDatabase), QString());
    EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Memo FROM NOTAS WHERE Codigo = 1"), kDatabase), texto);
    ASSERT_EQ(EjecutarSQL(QStringLiteral("UPDATE NOTAS SET Memo = 'm1' WHERE Codigo = 1"), kDatabase), QString());
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

TEST(TextoSQL, ManyEmptyComparisonsAreWidenedInLinearTime) {
  QString sql = QStringLiteral("SELECT * FROM T WHERE A = 1");
  for (int i = 0; i < 40000; ++i) sql += QStringLiteral(" AND C%1 = ''").arg(i);
  QElapsedTimer reloj;
  reloj.start();
  const QString ampliado = AmpliarComparacionesVacias(sql);
  EXPECT_LT(reloj.elapsed(), 10000);
  EXPECT_EQ(ampliado.count(QLatin1String(" IS NULL)")), 40000);
  EXPECT_TRUE(ampliado.endsWith(QStringLiteral(" AND (C39999 = '' OR C39999 IS NULL)")));
}
