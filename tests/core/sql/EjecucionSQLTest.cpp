#include "core/connections/Conexiones.h"
#include "core/connections/CreacionTablas.h"
#include "core/sql/ConsultasSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/InsercionSQL.h"
#include "platform/Exceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kDatabase = QStringLiteral("Database");

// The company database of the embedded server after start-up, with a table
// of customers: key, name, a memo and a rowguid.
class EjecucionSQL : public ConexionesFixture {
 protected:
  EjecucionSQL() {
    Iniciar();
    Ejecutar("CREATE TABLE CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, Notas TEXT NULL, "
             "rowguid VARCHAR(36) NULL, CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))");
    Table clientes;
    clientes.SetDatabaseName(QStringLiteral("ZEMEMP"));
    clientes.SetTableName(QStringLiteral("CLIENTES"));
    clientes.Open();
    clientes.Append();
    clientes.FieldByName(QStringLiteral("Codigo")).SetAsInteger(1);
    clientes.FieldByName(QStringLiteral("Nombre")).SetAsString(QStringLiteral("x"));
    clientes.FieldByName(QStringLiteral("Notas")).SetAsString(QStringLiteral("l1\r\nl2"));
    clientes.FieldByName(QStringLiteral("rowguid")).SetAsString(QStringLiteral("G1"));
    clientes.Post();
    Ejecutar("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (2, 'B=b')");
    Ejecutar("INSERT INTO CLIENTES (Codigo) VALUES (3)");
  }

  void Ejecutar(const char* sql) { ASSERT_EQ(EjecutarSQL(QString::fromUtf8(sql), kDatabase), QString()) << sql; }
};

}  // namespace

TEST_F(EjecucionSQL, RowsBecomeLinesAndColumnsAreJoinedByBars) {
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Nombre FROM CLIENTES WHERE Codigo < 3 ORDER BY Codigo"), kDatabase),
            QStringLiteral("x") + kCRLF + QStringLiteral("B=b"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Nombre FROM CLIENTES WHERE Codigo < 3 ORDER BY Codigo"), kDatabase,
                        QStringLiteral("NoEliminarUltimoCRLF")),
            QStringLiteral("x") + kCRLF + QStringLiteral("B=b") + kCRLF);
  // A single memo column keeps its line breaks; among several they take the delimiter.
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Notas FROM CLIENTES WHERE Codigo = 1"), kDatabase),
            QStringLiteral("l1") + kCRLF + QStringLiteral("l2"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre, Notas FROM CLIENTES WHERE Codigo = 1"), kDatabase,
                        QStringLiteral("Silenciosa,DelimitadorCRLFMemo=/")),
            QStringLiteral("1|x|l1/l2"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre, Notas FROM CLIENTES WHERE Codigo = 1"), kDatabase),
            QStringLiteral("1|x|l1 l2"));
  // FormatoINI: name=value pairs joined by "·"; the rowguid gives no value.
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre, Notas, rowguid FROM CLIENTES WHERE Codigo = 1"), kDatabase,
                        QStringLiteral("FormatoINI")),
            QStringLiteral("Codigo=1·Nombre=x·Notas=l1 l2·rowguid="));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Nombre, rowguid FROM CLIENTES WHERE Codigo = 1"), kDatabase),
            QStringLiteral("x|"));
  EXPECT_EQ(EjecutarSQLADO(QStringLiteral("SELECT Nombre, rowguid FROM CLIENTES WHERE Codigo = 1"), kDatabase,
                           QStringLiteral("FormatoINI")),
            QStringLiteral("x|G1"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Nombre FROM CLIENTES WHERE Codigo = 99"), kDatabase), QString());
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(EjecucionSQL, OnlyAnUpperCaseSelectReadsRows) {
  EXPECT_EQ(EjecutarSQL(QStringLiteral("select Nombre FROM CLIENTES"), kDatabase), QString());
  EXPECT_EQ(EjecutarSQL(QStringLiteral("\r\nSELECT Nombre FROM CLIENTES"), kDatabase), QString());
  EXPECT_EQ(EjecutarSQL(QStringLiteral("UPDATE CLIENTES SET Nombre = 'y' WHERE Codigo = 1"), kDatabase), QString());
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Nombre FROM CLIENTES WHERE Codigo = 1"), kDatabase), QStringLiteral("y"));
}

TEST_F(EjecucionSQL, ComparisonsWithNullAndEmptyTextAreRewritten) {
  Ejecutar("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (4, '')");
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo FROM CLIENTES WHERE Notas=NULL ORDER BY Codigo"), kDatabase),
            QStringLiteral("2\r\n3\r\n4"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo FROM CLIENTES WHERE rowguid = NULL AND Codigo > 2"), kDatabase),
            QStringLiteral("3\r\n4"));
  // An empty text also matches NULL after the WHERE.
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo FROM CLIENTES WHERE Nombre = '' ORDER BY Codigo"), kDatabase),
            QStringLiteral("3\r\n4"));
  // ForzarNULL: the comparison with the empty text becomes IS NULL.
  Ejecutar("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (5, NULL)");
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo FROM CLIENTES WHERE Nombre = '' ORDER BY Codigo"), kDatabase),
            QStringLiteral("3\r\n4\r\n5"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo FROM CLIENTES WHERE Nombre = '' ORDER BY Codigo"), kDatabase,
                        QStringLiteral("ForzarNULL")),
            QStringLiteral("5"));
}

TEST_F(EjecucionSQL, AFailureIsReportedAndReturnedAsError) {
  mensajes.Expect(QStringLiteral("A")).Expect(QString());
  const QString resultado = EjecutarSQL(QStringLiteral("SELECT Nada FROM CLIENTES"), kDatabase);
  EXPECT_TRUE(resultado.startsWith(QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ")))
      << resultado.toStdString();
  ASSERT_EQ(mensajes.Messages().size(), 2);
  EXPECT_EQ(mensajes.Messages()[0].text, resultado);
  EXPECT_EQ(mensajes.Messages()[1].text,
            QStringLiteral("Hay un error en la siguiente Sentencia SQL: \r\nSELECT Nada FROM CLIENTES"));
  // Silently: the same text, no message.
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Nada FROM CLIENTES"), kDatabase, QStringLiteral("Silenciosa")), resultado);
  EXPECT_TRUE(EjecutarSQLADO(QStringLiteral("SELECT Nada FROM CLIENTES"), kDatabase, QStringLiteral("Silenciosa"))
                  .startsWith(QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ")));
  EXPECT_EQ(mensajes.Messages().size(), 2);
}

TEST_F(EjecucionSQL, AMissingTableIsCreatedAndTheStatementRunAgain) {
  const QString sql = QStringLiteral("SELECT COUNT(*) FROM ARTICULO A JOIN FAMILIA F ON F.Codigo = A.Familia");
  // No creation installed: the statement's own failure, nothing created.
  const QString sinCrear = EjecutarSQL(sql, kDatabase, QStringLiteral("Silenciosa"));
  EXPECT_TRUE(sinCrear.startsWith(QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: Table does not exist")));

  QStringList creadas;
  InstalarCreacionTabla([&](Table& tabla, const QString&, int) {
    creadas << tabla.TableName() + u'@' + tabla.DatabaseName();
    const QString columnas = tabla.TableName() == u"ARTICULO" ? QStringLiteral("(Codigo INTEGER, Familia INTEGER)")
                                                                : QStringLiteral("(Codigo INTEGER)");
    return EjecutarSQL(QStringLiteral("CREATE TABLE ") + tabla.TableName() + u' ' + columnas, tabla.DatabaseName()).isEmpty();
  });
  EXPECT_TRUE(EjecutarSQL(QStringLiteral("SELECT * FROM NUEVA"), kDatabase, QStringLiteral("Silenciosa,No Crear Tabla"))
                  .startsWith(QStringLiteral("Error.")));
  EXPECT_TRUE(creadas.isEmpty());
  EXPECT_EQ(EjecutarSQL(sql, kDatabase), QStringLiteral("0"));
  EXPECT_EQ(creadas, QStringList({"ARTICULO@?ZEMEMP", "FAMILIA@?ZEMEMP"}));

  Query consulta;
  consulta.SQL().SetText(QStringLiteral("INSERT INTO OTRA (Codigo) VALUES (1)"));
  EXPECT_TRUE(AbrirOEjecutarConsulta(consulta));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo FROM OTRA"), kDatabase), QStringLiteral("1"));
}

TEST_F(EjecucionSQL, ACreationThatRaisesCountsAsFailedAndTheStatementsOwnErrorIsReported) {
  InstalarCreacionTabla([](Table&, const QString&, int) -> bool { throw Exception(QStringLiteral("sin definicion")); });
  const QString error = QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: Table does not exist");
  EXPECT_TRUE(
      EjecutarSQL(QStringLiteral("SELECT * FROM NOEXISTE"), kDatabase, QStringLiteral("Silenciosa")).startsWith(error));
  mensajes.Expect(QStringLiteral("A")).Expect(QString());
  EXPECT_TRUE(EjecutarSQL(QStringLiteral("DELETE FROM NOEXISTE"), kDatabase).startsWith(error));
  ASSERT_EQ(mensajes.Messages().size(), 2);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(error));

  // The query routine: false, and nothing shown for a failed creation.
  Query consulta;
  consulta.SQL().SetText(QStringLiteral("SELECT * FROM NOEXISTE"));
  EXPECT_FALSE(AbrirOEjecutarConsulta(consulta));
  EXPECT_EQ(mensajes.Messages().size(), 2);
}

TEST_F(EjecucionSQL, TheCacheRunsEachStatementOnce) {
  StringList cache;
  const QString sql = QStringLiteral("SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo = 2");
  EXPECT_EQ(EjecutarSQLConCache(sql, cache, kDatabase), QStringLiteral("2|B=b"));
  Ejecutar("UPDATE CLIENTES SET Nombre = 'otro' WHERE Codigo = 2");
  EXPECT_EQ(EjecutarSQLConCache(sql, cache, kDatabase), QStringLiteral("2|B=b"));
  EXPECT_EQ(cache.Lines(),
            QStringList{"SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo $IGUAL$ 2=2|B$IGUAL$b"});

  const QString vacio = QStringLiteral("SELECT Codigo FROM CLIENTES WHERE Codigo = 9");
  EXPECT_EQ(EjecutarSQLConCache(vacio, cache, kDatabase), QString());
  Ejecutar("INSERT INTO CLIENTES (Codigo) VALUES (9)");
  EXPECT_EQ(EjecutarSQLConCache(vacio, cache, kDatabase), QString());
  EXPECT_EQ(cache.Values(QStringLiteral("SELECT Codigo FROM CLIENTES WHERE Codigo $IGUAL$ 9")),
            QStringLiteral("Conjunto_Vacio"));

  const QString lineas = QStringLiteral("SELECT Codigo FROM CLIENTES WHERE Codigo < 3 ORDER BY Codigo");
  EXPECT_EQ(EjecutarSQLConCache(lineas, cache, kDatabase), QStringLiteral("1\r\n2"));
  EXPECT_EQ(EjecutarSQLConCache(lineas, cache, kDatabase), QStringLiteral("1\r\n2"));

  // A failure is not kept: once the table exists the statement answers.
  const QString fallida = QStringLiteral("SELECT Codigo FROM NOEXISTE");
  EXPECT_TRUE(EjecutarSQLConCache(fallida, cache, kDatabase, QStringLiteral("Silenciosa")).startsWith(u"Error."));
  Ejecutar("CREATE TABLE NOEXISTE (Codigo INTEGER)");
  Ejecutar("INSERT INTO NOEXISTE (Codigo) VALUES (5)");
  EXPECT_EQ(EjecutarSQLConCache(fallida, cache, kDatabase), QStringLiteral("5"));

  // A full list loses its first line before the next look-up.
  StringList llena;
  for (int i = 0; i < 20001; ++i) llena.Add(QStringLiteral("C%1=x").arg(i));
  EjecutarSQLConCache(sql, llena, kDatabase);
  EXPECT_EQ(llena.Count(), 20001);
  EXPECT_EQ(llena[0], QStringLiteral("C1=x"));
}

TEST_F(EjecucionSQL, InsertarValoresLeavesOutEmptyValuesAndQuotes) {
  EXPECT_TRUE(InsertarValores(QStringLiteral("CLIENTES\r\nCodigo=7\r\nNombre=O'Neil\r\nNotas=\r\n=sin nombre"), kDatabase));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Nombre, ISNULL(Notas, 'nulo') FROM CLIENTES WHERE Codigo = 7"), kDatabase),
            QStringLiteral("ONeil|nulo"));
  EXPECT_TRUE(InsertarValores(QStringLiteral("CLIENTES\r\nCodigo=8"), kDatabase, QStringLiteral("ADOConnection")));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM CLIENTES WHERE Codigo = 8"), kDatabase), QStringLiteral("1"));
  EXPECT_FALSE(InsertarValores(QStringLiteral("CLIENTES\r\nCodigo=7"), kDatabase, QStringLiteral("Silenciosa")));
}

TEST_F(EjecucionSQL, SentenciaUpdateWritesTheMemosByKey) {
  Ejecutar("CREATE TABLE VISITAS (Cliente VARCHAR(10) DEFAULT '', Fecha DATETIME DEFAULT '12/30/1899 00:00:00', "
           "Resumen TEXT NULL, Detalle TEXT NULL, CONSTRAINT VISITAS_Clave1 PRIMARY KEY (Cliente, Fecha))");
  Ejecutar("INSERT INTO VISITAS (Cliente, Fecha, Resumen, Detalle) VALUES ('C1', '01/31/2024 10:15:00', 'a', 'b')");
  Ejecutar("INSERT INTO VISITAS (Cliente, Fecha, Resumen, Detalle) VALUES ('C1', '02/01/2024 10:15:00', 'c', 'd')");
  Table visitas;
  visitas.SetDatabaseName(QStringLiteral("ZEMEMP"));
  visitas.SetTableName(QStringLiteral("VISITAS"));
  visitas.Open();
  // The memos of the record being edited go out by its key, without a post.
  visitas.Edit();
  visitas.FieldByName(QStringLiteral("Resumen")).SetAsString(QStringLiteral("de O'Neil"));
  visitas.FieldByName(QStringLiteral("Detalle")).Clear();
  SentenciaUpdate(visitas);
  visitas.Cancel();
  // A memo that itself reads like an empty assignment is written as typed.
  visitas.Next();
  visitas.Edit();
  visitas.FieldByName(QStringLiteral("Resumen")).SetAsString(QStringLiteral("Nombre = ''"));
  visitas.FieldByName(QStringLiteral("Detalle")).SetAsString(QStringLiteral("a = '', b = ''"));
  SentenciaUpdate(visitas);
  visitas.Cancel();
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Resumen, ISNULL(Detalle, 'nulo') FROM VISITAS ORDER BY Fecha"), kDatabase),
            QStringLiteral("de O'Neil|nulo\r\nNombre = ''|a = '', b = ''"));
}

TEST_F(EjecucionSQL, ACompanyTableJoinsAGeneralTableByItsDatabaseName) {
  ASSERT_EQ(EjecutarSQL(QStringLiteral("CREATE TABLE EMPRESA (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) NULL, "
                                       "CONSTRAINT EMPRESA_Clave1 PRIMARY KEY (Codigo))"),
                        QStringLiteral("DatabaseGeneral")),
            QString());
  ASSERT_TRUE(InsertarValores(QStringLiteral("EMPRESA\r\nCodigo=2\r\nNombre=SEGUNDA"), QStringLiteral("DatabaseGeneral")));
  const QString sql = QStringLiteral("SELECT C.Nombre, E.Nombre FROM CLIENTES C JOIN ZEMGENERAL.dbo.EMPRESA E "
                                     "ON E.Codigo = C.Codigo");
  // The first statement that names it runs inside a transaction, where
  // SQLite could attach nothing: the company connection holds it already.
  Database& empresa = *Conexiones(Servicios()).Database;
  empresa.StartTransaction();
  ASSERT_EQ(EjecutarSQL(QStringLiteral("UPDATE CLIENTES SET Nombre = 'en curso' WHERE Codigo = 2"), kDatabase), QString());
  EXPECT_EQ(EjecutarSQLADO(sql, kDatabase), QStringLiteral("en curso|SEGUNDA"));
  empresa.Rollback();
  EXPECT_EQ(EjecutarSQL(sql, kDatabase), QStringLiteral("B=b|SEGUNDA"));
}

TEST_F(EjecucionSQL, QueriesOpenOrExecuteByTheirFirstWord) {
  Query consulta;
  consulta.SQL().SetText(QStringLiteral("SELECT Nombre FROM CLIENTES WHERE Codigo = 2"));
  ASSERT_TRUE(AbrirOEjecutarConsulta(consulta));
  EXPECT_TRUE(consulta.Active());
  EXPECT_EQ(consulta.DatabaseName(), QStringLiteral("ZEMEMP"));
  EXPECT_EQ(consulta.Fields(0).AsString(), QStringLiteral("B=b"));

  consulta.SQL().SetText(QStringLiteral("UPDATE CLIENTES SET Nombre = 'z' WHERE Codigo = 2"));
  ASSERT_TRUE(AbrirOEjecutarConsulta(consulta));
  EXPECT_FALSE(consulta.Active());
  EXPECT_EQ(consulta.RowsAffected(), 1);

  Query ado;
  ado.SQL().SetText(QStringLiteral("SELECT Nombre FROM CLIENTES WHERE Codigo = 2"));
  ASSERT_TRUE(AbrirOEjecutarConsultaADO(ado));
  EXPECT_EQ(ado.Fields(0).AsString(), QStringLiteral("z"));

  consulta.SQL().SetText(QStringLiteral("UPDATE CLIENTES SET Nada = 1"));
  consulta.SetDatabaseName(QStringLiteral("?ZEMEMP"));
  EXPECT_FALSE(AbrirOEjecutarConsulta(consulta, QStringLiteral("Silencio")));
  EXPECT_EQ(consulta.DatabaseName(), QStringLiteral("ZEMEMP"));
  // A statement that names no table to create runs once more, and that
  // failure reaches the caller.
  consulta.SQL().SetText(QStringLiteral("DELETE NADA WHERE 1 = 1"));
  EXPECT_THROW(AbrirOEjecutarConsulta(consulta, QStringLiteral("Silencio")), Exception);
  mensajes.Expect(QStringLiteral("A")).Expect(QString());
  consulta.SQL().SetText(QStringLiteral("UPDATE CLIENTES SET Nada = 1"));
  EXPECT_FALSE(AbrirOEjecutarConsulta(consulta));
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(QStringLiteral("¡No es posible ejecutar la sentencia SQL. Motivo: ")));
}
