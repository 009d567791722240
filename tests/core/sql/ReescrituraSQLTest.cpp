#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/TextoSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/InsercionSQL.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QElapsedTimer>

namespace {

const QString kDatabase = QStringLiteral("Database");

// Texts typed by users that once rewrote a whole table, matched every record
// or were stored changed.
const QString kTextosPeligrosos[] = {
    QStringLiteral("/*where*//* = ' */), Nombre = 0 --"),
    QStringLiteral("/* = ' */) OR 1 = 1 --"),
    QStringLiteral("where a = ''"),
    QStringLiteral("WHERE x <> '' AND y = NULL"),
};

class ReescrituraSQL : public ConexionesFixture {
 protected:
  ReescrituraSQL() {
    Iniciar();
    Ejecutar("CREATE TABLE NOTAS (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) NULL, Memo TEXT NULL, "
             "CONSTRAINT NOTAS_Clave1 PRIMARY KEY (Codigo))");
    Ejecutar("INSERT INTO NOTAS (Codigo, Nombre, Memo) VALUES (1, 'uno', 'm1')");
    Ejecutar("INSERT INTO NOTAS (Codigo, Nombre, Memo) VALUES (2, 'dos', 'm2')");
    Ejecutar("INSERT INTO NOTAS (Codigo, Nombre, Memo) VALUES (3, 'tres', NULL)");
  }

  void Ejecutar(const char* sql) { ASSERT_EQ(EjecutarSQL(QString::fromUtf8(sql), kDatabase), QString()) << sql; }

  QString Tabla() {
    return EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre, ISNULL(Memo, 'nulo') FROM NOTAS ORDER BY Codigo"),
                       kDatabase);
  }
  QString Buscar(const QString& valor) {
    return EjecutarSQL(QStringLiteral("SELECT Codigo FROM NOTAS WHERE Memo = ") + LiteralSQL(valor), kDatabase);
  }
};

}  // namespace

TEST_F(ReescrituraSQL, TypedTextsAreStoredAndSearchedExactly) {
  Table notas;
  notas.SetDatabaseName(QStringLiteral("ZEMEMP"));
  notas.SetTableName(QStringLiteral("NOTAS"));
  notas.Open();
  notas.Next();
  for (const QString& texto : kTextosPeligrosos) {
    SCOPED_TRACE(texto.toStdString());
    EXPECT_EQ(Buscar(texto), QString());
    notas.Edit();
    notas.FieldByName(QStringLiteral("Memo")).SetAsString(texto);
    SentenciaUpdate(notas);
    notas.Cancel();
    EXPECT_EQ(Tabla(), QStringLiteral("1|uno|m1\r\n2|dos|") + texto + QStringLiteral("\r\n3|tres|nulo"));
    EXPECT_EQ(Buscar(texto), QStringLiteral("2"));

    ASSERT_EQ(EjecutarSQL(QStringLiteral("UPDATE NOTAS SET Memo = ") + LiteralSQL(texto) +
                              QStringLiteral(" WHERE Codigo = 3 AND Memo IS NULL"),
                          kDatabase),
              QString());
    EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Memo FROM NOTAS WHERE Codigo = 3"), kDatabase), texto);
    Ejecutar("UPDATE NOTAS SET Memo = NULL WHERE Codigo = 3");
  }
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST(TextoSQL, RewritesWorkOnTokensOnly) {
  const std::pair<const char16_t*, const char16_t*> ampliar[] = {
      {u"SELECT * FROM T WHERE [Mi Campo] = ''", u"SELECT * FROM T WHERE ([Mi Campo] = '' OR [Mi Campo] IS NULL)"},
      {u"SELECT * FROM T WHERE A = 'x = '' y' AND B <> ''",
       u"SELECT * FROM T WHERE A = 'x = '' y' AND (B <> '' AND B IS NOT NULL)"},
      // A WHERE or a comparison inside a literal or a comment is neither.
      {u"UPDATE T SET A = 'where b = ''' WHERE C = 1", u"UPDATE T SET A = 'where b = ''' WHERE C = 1"},
      {u"SELECT * FROM NOWHERE /* WHERE A = '' */", u"SELECT * FROM NOWHERE /* WHERE A = '' */"},
      {u"SELECT * FROM T WHERE A = 1 -- B = ''", u"SELECT * FROM T WHERE A = 1 -- B = ''"},
      {u"SELECT * FROM T WHERE A = '' AND B = 'unclosed", u"SELECT * FROM T WHERE A = '' AND B = 'unclosed"},
  };
  for (const auto& [sql, expected] : ampliar)
    EXPECT_EQ(AmpliarComparacionesVacias(QString::fromUtf16(sql)), QString::fromUtf16(expected))
        << QString::fromUtf16(sql).toStdString();

  const std::tuple<const char16_t*, bool, const char16_t*> nulos[] = {
      {u"SELECT * FROM T WHERE A=NULL AND B = NULL", false, u"SELECT * FROM T WHERE A IS NULL  AND B  IS NULL "},
      {u"SELECT * FROM T WHERE A = 'x= NULL' AND B = NULLIF(C, 1)", false,
       u"SELECT * FROM T WHERE A = 'x= NULL' AND B = NULLIF(C, 1)"},
      {u"SELECT * FROM T WHERE A = '' AND B = \"\" AND C = ' = '''", true,
       u"SELECT * FROM T WHERE A IS NULL  AND B IS NULL  AND C = ' = '''"},
      {u"SELECT * FROM T WHERE A = ''", false, u"SELECT * FROM T WHERE A = ''"},
  };
  for (const auto& [sql, forzar, expected] : nulos)
    EXPECT_EQ(ComparacionesConNULL(QString::fromUtf16(sql), forzar), QString::fromUtf16(expected))
        << QString::fromUtf16(sql).toStdString();
}

TEST(TextoSQL, ManyEmptyComparisonsAreWidenedInLinearTime) {
  constexpr int kComparaciones = 40000;
  QString sql = QStringLiteral("SELECT * FROM T WHERE A = 1");
  for (int i = 0; i < kComparaciones; ++i) sql += QStringLiteral(" AND C%1 = ''").arg(i);
  QElapsedTimer reloj;
  reloj.start();
  const QString ampliado = AmpliarComparacionesVacias(sql);
  EXPECT_LT(reloj.elapsed(), 10000);
  EXPECT_EQ(ampliado.count(QLatin1String(" IS NULL)")), kComparaciones);
  EXPECT_TRUE(ampliado.endsWith(QStringLiteral(" AND (C39999 = '' OR C39999 IS NULL)")));
}

TEST_F(ReescrituraSQL, ADeeplyNestedStatementFailsWithAnError) {
  const QString sql = QStringLiteral("SELECT Codigo FROM NOTAS WHERE Codigo = ") + QString(4400, u'(') +
                      QStringLiteral("1") + QString(4400, u')');
  const QString resultado = EjecutarSQL(sql, kDatabase, QStringLiteral("Silenciosa"));
  EXPECT_TRUE(resultado.startsWith(QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ")));
  EXPECT_TRUE(resultado.contains(QStringLiteral("nested too deeply"))) << resultado.toStdString();
}
