#include "core/sql/EjecucionSQL.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

// The company database of a made installation on the embedded server, with
// a table keyed by two columns, one keyed by one, and one without a key.
class ActualizacionConFrom : public ConexionesFixture {
 protected:
  ActualizacionConFrom() {
    Iniciar();
    for (const char* sql :
         {"CREATE TABLE ART (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(20) NULL, CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
          "CREATE TABLE LIN (Almacen VARCHAR(4) DEFAULT '', Codigo INTEGER DEFAULT 0, Cantidad INTEGER NULL, "
          "CONSTRAINT LIN_Clave1 PRIMARY KEY (Almacen, Codigo))",
          "CREATE TABLE HEAP (Codigo INTEGER NULL, Valor INTEGER NULL)",
          "INSERT INTO ART VALUES (1, 'Uno')", "INSERT INTO ART VALUES (2, 'Dos')", "INSERT INTO ART VALUES (3, 'Tres')",
          "INSERT INTO LIN VALUES ('A', 1, 1)", "INSERT INTO LIN VALUES ('A', 2, 2)", "INSERT INTO LIN VALUES ('B', 3, 3)",
          "INSERT INTO HEAP VALUES (1, 1)", "INSERT INTO HEAP VALUES (2, 2)", "INSERT INTO HEAP VALUES (3, 3)"})
      Ejecutar(QString::fromUtf8(sql));
  }
};

}  // namespace

// Run in order: each reads what the ones before it left.
TEST_F(ActualizacionConFrom, EachStatementChangesTheRowsItsJoinBrings) {
  const struct {
    const char* sql;
    const char* filas;  // of the table it changes, after it
  } casos[] = {
      {"UPDATE dbo.LIN SET Cantidad = 0 FROM [LIN] t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 3",
       "SELECT Cantidad FROM LIN ORDER BY Codigo|1\r\n2\r\n0"},
      {"UPDATE [dbo].[lin] SET Cantidad = 5 FROM dbo.LIN AS t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo "
       "WHERE t2.Codigo = 1",
       "SELECT Cantidad FROM LIN ORDER BY Codigo|5\r\n2\r\n0"},
      {"UPDATE HEAP SET Valor = 7 FROM HEAP t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 2",
       "SELECT Valor FROM HEAP ORDER BY Codigo|1\r\n7\r\n3"},
      {"UPDATE LIN SET Cantidad = -5 FROM LIN INNER JOIN ART ON LIN.Codigo = ART.Codigo WHERE ART.Codigo = 2",
       "SELECT Cantidad FROM LIN ORDER BY Codigo|5\r\n-5\r\n0"},
      {"DELETE dbo.LIN FROM LIN t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Nombre = 'Tres'",
       "SELECT Codigo FROM LIN ORDER BY Codigo|1\r\n2"},
  };
  for (const auto& caso : casos) {
    const QString sql = QString::fromUtf8(caso.sql);
    EXPECT_EQ(EjecutarSQL(sql, u"Database"_qs), QString()) << caso.sql;
    const QStringList consulta = QString::fromUtf8(caso.filas).split(u'|');
    EXPECT_EQ(EjecutarSQL(consulta[0], u"Database"_qs), consulta[1]) << caso.sql;
  }
}
