#include "core/sql/EjecucionSQL.h"
#include "platform/sql/SqlTokenizer.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QRandomGenerator>

// A batch sent through EjecutarSQL to the company database of the embedded
// server is compiled whole before any of it runs: one that does not compile
// answers SQL Server's error and changes no row.

namespace {

const char* const kFilas[] = {
    "DELETE FROM ART", "DELETE FROM LIN", "DELETE FROM ALM", "DELETE FROM HEAP",
    "INSERT INTO ART VALUES (1, 'Uno', 10)", "INSERT INTO ART VALUES (2, 'Dos', 20)",
    "INSERT INTO ART VALUES (3, 'Tres', 30)",
    "INSERT INTO LIN VALUES ('A', 1, 1)", "INSERT INTO LIN VALUES ('A', 2, 2)", "INSERT INTO LIN VALUES ('B', 2, 3)",
    "INSERT INTO LIN VALUES ('B', 3, 4)",
    "INSERT INTO ALM VALUES ('A', 1)", "INSERT INTO ALM VALUES ('B', 2)",
    "INSERT INTO HEAP VALUES (1, 1)", "INSERT INTO HEAP VALUES (2, 2)", "INSERT INTO HEAP VALUES (2, 9)",
};

class LoteCompilado : public ConexionesFixture {
 protected:
  LoteCompilado() {
    Iniciar();
    for (const char* sql :
         {"CREATE TABLE ART (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(20) NULL, Stock INTEGER NULL, "
          "CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
          "CREATE TABLE LIN (Almacen VARCHAR(4) DEFAULT '', Codigo INTEGER DEFAULT 0, Cantidad INTEGER NULL, "
          "CONSTRAINT LIN_Clave1 PRIMARY KEY (Almacen, Codigo))",
          "CREATE TABLE ALM (Almacen VARCHAR(4) DEFAULT '', Zona INTEGER NULL, CONSTRAINT ALM_Clave1 PRIMARY KEY (Almacen))",
          "CREATE TABLE HEAP (Codigo INTEGER NULL, Valor INTEGER NULL)"})
      Ejecutar(QString::fromUtf8(sql));
    Rellenar();
  }

  static void Rellenar() {
    for (const char* sql : kFilas) Ejecutar(QString::fromUtf8(sql));
  }

  // Every row of every table, in one text.
  static QString Filas() {
    QString filas;
    for (const char* consulta : {"SELECT * FROM ART ORDER BY Codigo", "SELECT * FROM LIN ORDER BY Almacen, Codigo",
                                 "SELECT * FROM ALM ORDER BY Almacen", "SELECT * FROM HEAP ORDER BY Codigo, Valor"})
      filas += EjecutarSQL(QString::fromUtf8(consulta), u"Database"_qs) + u'#';
    return filas;
  }
};

}  // namespace

// A batch that does not parse, or whose condition is no predicate, is
// refused whole with SQL Server's text; none of its statements runs.
TEST_F(LoteCompilado, ABatchThatDoesNotCompileRunsNoneOfItsStatements) {
  const struct {
    const char* sql;
    const char* error;
  } casos[] = {
      // A JOIN without its ON.
      {"DELETE l FROM LIN l JOIN ART a WHERE a.Codigo = 2", "Incorrect syntax near the keyword 'WHERE'."},
      {"UPDATE l SET Cantidad = 0 FROM LIN l LEFT JOIN ART a WHERE a.Codigo = 2",
       "Incorrect syntax near the keyword 'WHERE'."},
      {"SELECT COUNT(*) FROM LIN l JOIN ART a", "Incorrect syntax near 'a'."},
      // Conditions that are not predicates.
      {"DELETE FROM LIN WHERE Codigo = 2 OR 3",
       "An expression of non-boolean type specified in a context where a condition is expected, near '3'."},
      {"DELETE FROM LIN WHERE Codigo",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'Codigo'."},
      {"UPDATE LIN SET Cantidad = 0 WHERE Cantidad",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'Cantidad'."},
      {"DELETE l FROM LIN l JOIN ART a ON a.Codigo WHERE a.Codigo = 2",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'WHERE'."},
      {"SELECT Almacen FROM LIN GROUP BY Almacen HAVING COUNT(*)",
       "An expression of non-boolean type specified in a context where a condition is expected, near ')'."},
      {"UPDATE LIN SET Cantidad = CASE WHEN Codigo THEN 1 ELSE 2 END",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'THEN'."},
      {"UPDATE LIN SET Cantidad = IIF(Codigo, 1, 2)",
       "An expression of non-boolean type specified in a context where a condition is expected, near ','."},
      {"DELETE FROM HEAP WHERE NOT Valor",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'Valor'."},
      // A batch whose last statement does not compile: the first ones do not run either.
      {"DELETE FROM HEAP DELETE FROM LIN WHERE Codigo = 1 AND", "Incorrect syntax near the keyword 'AND'."},
      {"UPDATE LIN SET Cantidad = 1; DELETE FROM LIN WHERE", "Incorrect syntax near the keyword 'WHERE'."},
      {"INSERT INTO HEAP VALUES (5, 5); DELETE FROM ART WHERE Codigo = 1 OR 2",
       "An expression of non-boolean type specified in a context where a condition is expected, near '2'."},
      {"DELETE FROM ALM; UPDATE ART SET Stock = 0 WHERE Codigo IN (1, 2", "Incorrect syntax near '2'."},
      {"DELETE FROM HEAP; SELECT * FROM ART WHERE Nombre LIKE", "Incorrect syntax near the keyword 'LIKE'."},
      {"DELETE FROM HEAP; TRUNCATE TABLE ART", "'TRUNCATE TABLE' is not supported by the embedded server."},
  };
  const QString antes = Filas();
  for (const auto& caso : casos) {
    const QString resultado = EjecutarSQL(QString::fromUtf8(caso.sql), u"Database"_qs, u"Silenciosa"_qs);
    EXPECT_TRUE(resultado.startsWith(u"Error.") && resultado.contains(QString::fromUtf8(caso.error)))
        << caso.sql << "\n" << resultado.toStdString();
    EXPECT_EQ(Filas(), antes) << caso.sql;
  }
}

// Valid statements mutated (a token dropped, doubled, swapped with the next,
// or put in another place) and sent several to a batch: whatever a batch
// answers, one that answers an error has changed no row.
TEST_F(LoteCompilado, AMutatedBatchThatAnswersAnErrorChangesNoRow) {
  const char* const validas[] = {
      "DELETE FROM HEAP WHERE Codigo = 2 AND Valor > 5",
      "UPDATE LIN SET Cantidad = Cantidad + 1 WHERE Almacen = 'A' AND Codigo IN (1, 2)",
      "DELETE l FROM LIN l JOIN ART a ON a.Codigo = l.Codigo WHERE a.Stock > 25",
      "UPDATE a SET Stock = Stock - 1 FROM ART a INNER JOIN LIN l ON l.Codigo = a.Codigo WHERE l.Almacen = 'B'",
      "DELETE TOP (1) FROM HEAP WHERE NOT (Valor < 2 OR Codigo = 1)",
      "UPDATE ALM SET Zona = CASE WHEN Zona > 1 THEN 0 ELSE 1 END WHERE Almacen IN (SELECT Almacen FROM LIN)",
      "SELECT COUNT(*) FROM ART, ALM WHERE ALM.Zona = ART.Codigo",
      "INSERT INTO HEAP (Codigo, Valor) SELECT Codigo, Stock FROM ART WHERE Codigo = 3",
      "DELETE FROM LIN WHERE EXISTS (SELECT 1 FROM ALM m WHERE m.Almacen = LIN.Almacen AND m.Zona = 2)",
      "UPDATE HEAP SET Valor = Valor * 2 WHERE Codigo BETWEEN 1 AND 2",
  };
  std::vector<QStringList> tokens;
  for (const char* sql : validas) {
    const QString text = QString::fromUtf8(sql);
    QStringList significant;
    for (const SqlToken& token : TokenizeSql(text))
      if (token.IsSignificant()) significant << token.text.toString();
    tokens.push_back(significant);
  }
  QRandomGenerator azar(20261208);
  auto mutada = [&](QStringList texto) {
    const int veces = 1 + int(azar.bounded(2));
    for (int i = 0; i < veces && texto.size() > 1; ++i) {
      const int en = int(azar.bounded(texto.size()));
      switch (azar.bounded(4)) {
        case 0: texto.removeAt(en); break;
        case 1: texto.insert(en, texto[en]); break;
        case 2: if (en + 1 < texto.size()) texto.swapItemsAt(en, en + 1); break;
        default: texto.insert(int(azar.bounded(texto.size())), texto.takeAt(en)); break;
      }
    }
    return texto.join(u' ');
  };
  QString filas = Filas();
  int fallidos = 0;
  for (int lote = 0; lote < 3000; ++lote) {
    QStringList sentencias;
    const int cuantas = 1 + int(azar.bounded(3));
    for (int i = 0; i < cuantas; ++i) {
      const QStringList& valida = tokens[azar.bounded(quint32(tokens.size()))];
      sentencias << (azar.bounded(3) == 0 ? valida.join(u' ') : mutada(valida));
    }
    const QString sql = sentencias.join(azar.bounded(2) ? u"; "_qs : u" "_qs);
    const QString resultado = EjecutarSQL(sql, u"Database"_qs, u"Silenciosa"_qs);
    const QString despues = Filas();
    if (resultado.startsWith(u"Error.")) {
      ++fallidos;
      ASSERT_EQ(despues, filas) << sql.toStdString() << "\n" << resultado.toStdString();
    }
    filas = despues;
    if (lote % 50 == 49) {
      Rellenar();
      filas = Filas();
    }
  }
  // Most mutations do not compile; some do and run.
  EXPECT_GT(fallidos, 1000);
  EXPECT_LT(fallidos, 2900);
}
