#include "core/connections/Conexiones.h"
#include "core/connections/CreacionTablas.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/sql/ConsultasSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/InsercionSQL.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/Records.h"

#include <sqlite3.h>

namespace {

const QString kDatabase = u"Database"_qs;
const QString kError = u"Error. No es posible ejecutar la sentencia SQL. Motivo: "_qs;

QString Sql(const QString& sql, const QString& opciones = {}) { return EjecutarSQL(sql, kDatabase, opciones); }

// The company database of the embedded server after start-up, with a table
// of customers: key, name, a memo and a rowguid.
class EjecucionSQL : public ConexionesFixture {
 protected:
  EjecucionSQL() {
    Iniciar();
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, Notas TEXT NULL, "
             "rowguid VARCHAR(36) NULL, CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
    Table clientes;
    clientes.SetDatabaseName(u"ZEMEMP"_qs);
    clientes.SetTableName(u"CLIENTES"_qs);
    clientes.Open();
    AppendRecord(clientes, {{u"Codigo"_qs, Int(1)}, {u"Nombre"_qs, Text(u"x"_qs)},
                            {u"Notas"_qs, Text(u"l1\r\nl2"_qs)}, {u"rowguid"_qs, Text(u"G1"_qs)}});
    Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (2, 'B=b')"_qs);
    Ejecutar(u"INSERT INTO CLIENTES (Codigo) VALUES (3)"_qs);
  }
};

}  // namespace

// Run in order: the later rows see what the earlier statements wrote.
TEST_F(EjecucionSQL, RowsBecomeLinesColumnsAreJoinedByBarsAndEmptyComparisonsAreRewritten) {
  const struct {
    const char* sql;
    const char* opciones;
    const char* esperado;
    bool ado = false;
  } casos[] = {
      {"SELECT Nombre FROM CLIENTES WHERE Codigo < 3 ORDER BY Codigo", "", "x\r\nB=b"},
      {"SELECT Nombre FROM CLIENTES WHERE Codigo < 3 ORDER BY Codigo", "NoEliminarUltimoCRLF", "x\r\nB=b\r\n"},
      // A single memo column keeps its line breaks; among several they take the delimiter.
      {"SELECT Notas FROM CLIENTES WHERE Codigo = 1", "", "l1\r\nl2"},
      {"SELECT Codigo, Nombre, Notas FROM CLIENTES WHERE Codigo = 1", "Silenciosa,DelimitadorCRLFMemo=/", "1|x|l1/l2"},
      {"SELECT Codigo, Nombre, Notas FROM CLIENTES WHERE Codigo = 1", "", "1|x|l1 l2"},
      // FormatoINI: name=value pairs joined by "·"; the rowguid gives no value.
      {"SELECT Codigo, Nombre, Notas, rowguid FROM CLIENTES WHERE Codigo = 1", "FormatoINI",
       "Codigo=1·Nombre=x·Notas=l1 l2·rowguid="},
      {"SELECT Nombre, rowguid FROM CLIENTES WHERE Codigo = 1", "", "x|"},
      {"SELECT Nombre, rowguid FROM CLIENTES WHERE Codigo = 1", "FormatoINI", "x|G1", true},
      {"SELECT Nombre FROM CLIENTES WHERE Codigo = 99", "", ""},
      // Only an upper-case SELECT reads rows.
      {"select Nombre FROM CLIENTES", "", ""}, {"\r\nSELECT Nombre FROM CLIENTES", "", ""},
      {"UPDATE CLIENTES SET Nombre = 'y' WHERE Codigo = 1", "", ""},
      {"SELECT Nombre FROM CLIENTES WHERE Codigo = 1", "", "y"},
      // Comparisons with NULL; an empty text also matches NULL after the WHERE.
      {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (4, '')", "", ""},
      {"SELECT Codigo FROM CLIENTES WHERE Notas=NULL ORDER BY Codigo", "", "2\r\n3\r\n4"},
      {"SELECT Codigo FROM CLIENTES WHERE rowguid = NULL AND Codigo > 2", "", "3\r\n4"},
      {"SELECT Codigo FROM CLIENTES WHERE Nombre = '' ORDER BY Codigo", "", "3\r\n4"},
      {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (5, NULL)", "", ""},
      {"SELECT Codigo FROM CLIENTES WHERE Nombre = '' ORDER BY Codigo", "", "3\r\n4\r\n5"},
      // ForzarNULL: the comparison with the empty text becomes IS NULL.
      {"SELECT Codigo FROM CLIENTES WHERE Nombre = '' ORDER BY Codigo", "ForzarNULL", "5"},
  };
  for (const auto& caso : casos) {
    const QString sql = QString::fromUtf8(caso.sql), opciones = QString::fromUtf8(caso.opciones);
    EXPECT_EQ(caso.ado ? EjecutarSQLADO(sql, kDatabase, opciones) : Sql(sql, opciones),
              QString::fromUtf8(caso.esperado))
        << caso.sql;
  }
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(EjecucionSQL, AFailureIsReportedAndReturnedAsError) {
  mensajes.Expect(u"A"_qs).Expect(QString());
  const QString resultado = Sql(u"SELECT Nada FROM CLIENTES"_qs);
  EXPECT_TRUE(resultado.startsWith(kError)) << resultado.toStdString();
  ASSERT_EQ(mensajes.Messages().size(), 2);
  EXPECT_EQ(mensajes.Messages()[0].text, resultado);
  EXPECT_EQ(mensajes.Messages()[1].text,
            u"Hay un error en la siguiente Sentencia SQL: \r\nSELECT Nada FROM CLIENTES"_qs);
  // Silently: the same text, no message.
  EXPECT_EQ(Sql(u"SELECT Nada FROM CLIENTES"_qs, u"Silenciosa"_qs), resultado);
  EXPECT_TRUE(EjecutarSQLADO(u"SELECT Nada FROM CLIENTES"_qs, kDatabase, u"Silenciosa"_qs).startsWith(kError));
  EXPECT_EQ(mensajes.Messages().size(), 2);
}

TEST_F(EjecucionSQL, AMissingTableIsCreatedAndTheStatementRunAgain) {
  const QString sql = u"SELECT COUNT(*) FROM ARTICULO A JOIN FAMILIA F ON F.Codigo = A.Familia"_qs;
  // No creation installed: the statement's own failure, nothing created.
  EXPECT_TRUE(Sql(sql, u"Silenciosa"_qs).startsWith(kError + u"Table does not exist"_qs));

  QStringList creadas;
  InstalarCreacionTabla([&](Table& tabla, const QString&, int) {
    creadas << tabla.TableName() + u'@' + tabla.DatabaseName();
    const QString columnas =
        tabla.TableName() == u"ARTICULO" ? u"(Codigo INTEGER, Familia INTEGER)"_qs : u"(Codigo INTEGER)"_qs;
    return EjecutarSQL(u"CREATE TABLE "_qs + tabla.TableName() + u' ' + columnas, tabla.DatabaseName()).isEmpty();
  });
  EXPECT_TRUE(Sql(u"SELECT * FROM NUEVA"_qs, u"Silenciosa,No Crear Tabla"_qs).startsWith(u"Error."));
  EXPECT_TRUE(creadas.isEmpty());
  EXPECT_EQ(Sql(sql), u"0"_qs);
  EXPECT_EQ(creadas, QStringList({"ARTICULO@?ZEMEMP", "FAMILIA@?ZEMEMP"}));

  Query consulta;
  consulta.SQL().SetText(u"INSERT INTO OTRA (Codigo) VALUES (1)"_qs);
  EXPECT_TRUE(AbrirOEjecutarConsulta(consulta));
  EXPECT_EQ(Sql(u"SELECT Codigo FROM OTRA"_qs), u"1"_qs);
}

TEST_F(EjecucionSQL, ACreationThatRaisesCountsAsFailedAndTheStatementsOwnErrorIsReported) {
  InstalarCreacionTabla([](Table&, const QString&, int) -> bool { throw Exception(u"sin definicion"_qs); });
  const QString error = kError + u"Table does not exist"_qs;
  EXPECT_TRUE(Sql(u"SELECT * FROM NOEXISTE"_qs, u"Silenciosa"_qs).startsWith(error));
  mensajes.Expect(u"A"_qs).Expect(QString());
  EXPECT_TRUE(Sql(u"DELETE FROM NOEXISTE"_qs).startsWith(error));
  ASSERT_EQ(mensajes.Messages().size(), 2);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(error));
  // The query routine: false, and nothing shown for a failed creation.
  Query consulta;
  consulta.SQL().SetText(u"SELECT * FROM NOEXISTE"_qs);
  EXPECT_FALSE(AbrirOEjecutarConsulta(consulta));
  EXPECT_EQ(mensajes.Messages().size(), 2);
}

TEST_F(EjecucionSQL, TheCacheRunsEachStatementOnce) {
  StringList cache;
  const QString sql = u"SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo = 2"_qs;
  EXPECT_EQ(EjecutarSQLConCache(sql, cache, kDatabase), u"2|B=b"_qs);
  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'otro' WHERE Codigo = 2"_qs);
  EXPECT_EQ(EjecutarSQLConCache(sql, cache, kDatabase), u"2|B=b"_qs);
  EXPECT_EQ(cache.Lines(), QStringList{"SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo $IGUAL$ 2=2|B$IGUAL$b"});

  const QString vacio = u"SELECT Codigo FROM CLIENTES WHERE Codigo = 9"_qs;
  EXPECT_EQ(EjecutarSQLConCache(vacio, cache, kDatabase), QString());
  Ejecutar(u"INSERT INTO CLIENTES (Codigo) VALUES (9)"_qs);
  EXPECT_EQ(EjecutarSQLConCache(vacio, cache, kDatabase), QString());
  EXPECT_EQ(cache.Values(u"SELECT Codigo FROM CLIENTES WHERE Codigo $IGUAL$ 9"_qs), u"Conjunto_Vacio"_qs);

  const QString lineas = u"SELECT Codigo FROM CLIENTES WHERE Codigo < 3 ORDER BY Codigo"_qs;
  EXPECT_EQ(EjecutarSQLConCache(lineas, cache, kDatabase), u"1\r\n2"_qs);
  EXPECT_EQ(EjecutarSQLConCache(lineas, cache, kDatabase), u"1\r\n2"_qs);

  // A failure is not kept: once the table exists the statement answers.
  const QString fallida = u"SELECT Codigo FROM NOEXISTE"_qs;
  EXPECT_TRUE(EjecutarSQLConCache(fallida, cache, kDatabase, u"Silenciosa"_qs).startsWith(u"Error."));
  Ejecutar(u"CREATE TABLE NOEXISTE (Codigo INTEGER)"_qs);
  Ejecutar(u"INSERT INTO NOEXISTE (Codigo) VALUES (5)"_qs);
  EXPECT_EQ(EjecutarSQLConCache(fallida, cache, kDatabase), u"5"_qs);

  // A full list loses its first line before the next look-up.
  StringList llena;
  for (int i = 0; i < 20001; ++i) llena.Add(u"C%1=x"_qs.arg(i));
  EjecutarSQLConCache(sql, llena, kDatabase);
  EXPECT_EQ(llena.Count(), 20001);
  EXPECT_EQ(llena[0], u"C1=x"_qs);
}

TEST_F(EjecucionSQL, InsertarValoresLeavesOutEmptyValuesAndQuotes) {
  EXPECT_TRUE(InsertarValores(u"CLIENTES\r\nCodigo=7\r\nNombre=O'Neil\r\nNotas=\r\n=sin nombre"_qs, kDatabase));
  EXPECT_EQ(Sql(u"SELECT Nombre, ISNULL(Notas, 'nulo') FROM CLIENTES WHERE Codigo = 7"_qs), u"ONeil|nulo"_qs);
  EXPECT_TRUE(InsertarValores(u"CLIENTES\r\nCodigo=8"_qs, kDatabase, u"ADOConnection"_qs));
  EXPECT_EQ(Sql(u"SELECT COUNT(*) FROM CLIENTES WHERE Codigo = 8"_qs), u"1"_qs);
  EXPECT_FALSE(InsertarValores(u"CLIENTES\r\nCodigo=7"_qs, kDatabase, u"Silenciosa"_qs));
}

TEST_F(EjecucionSQL, SentenciaUpdateWritesTheMemosByKey) {
  Ejecutar(u"CREATE TABLE VISITAS (Cliente VARCHAR(10) DEFAULT '', Fecha DATETIME DEFAULT '12/30/1899 00:00:00', "
           "Resumen TEXT NULL, Detalle TEXT NULL, CONSTRAINT VISITAS_Clave1 PRIMARY KEY (Cliente, Fecha))"_qs);
  Ejecutar(u"INSERT INTO VISITAS (Cliente, Fecha, Resumen, Detalle) VALUES ('C1', '01/31/2024 10:15:00', 'a', 'b')"_qs);
  Ejecutar(u"INSERT INTO VISITAS (Cliente, Fecha, Resumen, Detalle) VALUES ('C1', '02/01/2024 10:15:00', 'c', 'd')"_qs);
  Table visitas;
  visitas.SetDatabaseName(u"ZEMEMP"_qs);
  visitas.SetTableName(u"VISITAS"_qs);
  visitas.Open();
  // The memos of the record being edited go out by its key, without a post;
  // a memo that itself reads like an empty assignment is written as typed.
  const QString resumen[] = {u"de O'Neil"_qs, u"Nombre = ''"_qs}, detalle[] = {QString(), u"a = '', b = ''"_qs};
  for (int i = 0; i < 2; ++i) {
    if (i) visitas.Next();
    visitas.Edit();
    visitas.FieldByName(u"Resumen"_qs).SetAsString(resumen[i]);
    if (detalle[i].isNull()) visitas.FieldByName(u"Detalle"_qs).Clear();
    else visitas.FieldByName(u"Detalle"_qs).SetAsString(detalle[i]);
    SentenciaUpdate(visitas);
    visitas.Cancel();
  }
  EXPECT_EQ(Sql(u"SELECT Resumen, ISNULL(Detalle, 'nulo') FROM VISITAS ORDER BY Fecha"_qs),
            u"de O'Neil|nulo\r\nNombre = ''|a = '', b = ''"_qs);
}

TEST_F(EjecucionSQL, ACompanyTableJoinsAGeneralTableByItsDatabaseName) {
  Ejecutar(u"CREATE TABLE EMPRESA (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) NULL, "
           "CONSTRAINT EMPRESA_Clave1 PRIMARY KEY (Codigo))"_qs, u"DatabaseGeneral"_qs);
  ASSERT_TRUE(InsertarValores(u"EMPRESA\r\nCodigo=2\r\nNombre=SEGUNDA"_qs, u"DatabaseGeneral"_qs));
  const QString sql =
      u"SELECT C.Nombre, E.Nombre FROM CLIENTES C JOIN ZEMGENERAL.dbo.EMPRESA E ON E.Codigo = C.Codigo"_qs;
  // The first statement that names it runs inside a transaction, where
  // SQLite could attach nothing: the company connection holds it already.
  Database& empresa = *Conexiones(Servicios()).Database;
  empresa.StartTransaction();
  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'en curso' WHERE Codigo = 2"_qs);
  EXPECT_EQ(EjecutarSQLADO(sql, kDatabase), u"en curso|SEGUNDA"_qs);
  empresa.Rollback();
  EXPECT_EQ(Sql(sql), u"B=b|SEGUNDA"_qs);
}

TEST_F(EjecucionSQL, QueriesOpenOrExecuteByTheirFirstWord) {
  Query consulta;
  consulta.SQL().SetText(u"SELECT Nombre FROM CLIENTES WHERE Codigo = 2"_qs);
  ASSERT_TRUE(AbrirOEjecutarConsulta(consulta));
  EXPECT_TRUE(consulta.Active());
  EXPECT_EQ(consulta.DatabaseName(), u"ZEMEMP"_qs);
  EXPECT_EQ(consulta.Fields(0).AsString(), u"B=b"_qs);

  consulta.SQL().SetText(u"UPDATE CLIENTES SET Nombre = 'z' WHERE Codigo = 2"_qs);
  ASSERT_TRUE(AbrirOEjecutarConsulta(consulta));
  EXPECT_FALSE(consulta.Active());
  EXPECT_EQ(consulta.RowsAffected(), 1);

  Query ado;
  ado.SQL().SetText(u"SELECT Nombre FROM CLIENTES WHERE Codigo = 2"_qs);
  ASSERT_TRUE(AbrirOEjecutarConsultaADO(ado));
  EXPECT_EQ(ado.Fields(0).AsString(), u"z"_qs);

  consulta.SQL().SetText(u"UPDATE CLIENTES SET Nada = 1"_qs);
  consulta.SetDatabaseName(u"?ZEMEMP"_qs);
  EXPECT_FALSE(AbrirOEjecutarConsulta(consulta, u"Silencio"_qs));
  EXPECT_EQ(consulta.DatabaseName(), u"ZEMEMP"_qs);
  // A statement that names no table to create runs once more, and that
  // failure reaches the caller.
  consulta.SQL().SetText(u"DELETE NADA WHERE 1 = 1"_qs);
  EXPECT_THROW(AbrirOEjecutarConsulta(consulta, u"Silencio"_qs), Exception);
  mensajes.Expect(u"A"_qs).Expect(QString());
  consulta.SQL().SetText(u"UPDATE CLIENTES SET Nada = 1"_qs);
  EXPECT_FALSE(AbrirOEjecutarConsulta(consulta));
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(u"¡No es posible ejecutar la sentencia SQL. Motivo: "_qs));
}

// Texts typed by users that once rewrote a whole table, matched every record
// or were stored changed: stored and searched exactly as typed.
TEST_F(EjecucionSQL, TypedTextsAreStoredAndSearchedExactly) {
  for (const char* sql : {"CREATE TABLE NOTAS (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) NULL, Memo TEXT NULL, "
                          "CONSTRAINT NOTAS_Clave1 PRIMARY KEY (Codigo))",
                          "INSERT INTO NOTAS (Codigo, Nombre, Memo) VALUES (1, 'uno', 'm1')",
                          "INSERT INTO NOTAS (Codigo, Nombre, Memo) VALUES (2, 'dos', 'm2')"})
    Ejecutar(QString::fromUtf8(sql));
  Table notas;
  notas.SetDatabaseName(u"ZEMEMP"_qs);
  notas.SetTableName(u"NOTAS"_qs);
  notas.Open();
  notas.Next();
  const auto buscar = [](const QString& valor) {
    return Sql(u"SELECT Codigo FROM NOTAS WHERE Memo = "_qs + LiteralSQL(valor));
  };
  for (const char16_t* tecleado : {u"/*where*//* = ' */), Nombre = 0 --", u"/* = ' */) OR 1 = 1 --", u"where a = ''",
                                   u"WHERE x <> '' AND y = NULL"}) {
    const QString texto = QString::fromUtf16(tecleado);
    EXPECT_EQ(buscar(texto), QString()) << texto.toStdString();
    notas.Edit();
    notas.FieldByName(u"Memo"_qs).SetAsString(texto);
    SentenciaUpdate(notas);
    notas.Cancel();
    EXPECT_EQ(Sql(u"SELECT Codigo, Nombre, Memo FROM NOTAS ORDER BY Codigo"_qs), u"1|uno|m1\r\n2|dos|"_qs + texto);
    EXPECT_EQ(buscar(texto), u"2"_qs) << texto.toStdString();
    EXPECT_EQ(Sql(u"UPDATE NOTAS SET Memo = "_qs + LiteralSQL(texto) + u" WHERE Codigo = 1"_qs), QString());
    EXPECT_EQ(Sql(u"SELECT Memo FROM NOTAS WHERE Codigo = 1"_qs), texto);
    ASSERT_EQ(Sql(u"UPDATE NOTAS SET Memo = 'm1' WHERE Codigo = 1"_qs), QString());
  }
}

TEST_F(EjecucionSQL, AFailureReadingTheRowsIsAnErrorThatEndsTheProgramOnBothRoads) {
  Ejecutar(u"CREATE TABLE FECHAS (Fecha DATETIME NULL)"_qs);
  // The server refuses such a date; a program writing the file itself need not.
  Conexiones(Servicios()).Database->SharedConnection()->Execute(u"INSERT INTO FECHAS VALUES ('ayer')"_qs);
  const QString sql = u"SELECT Fecha FROM FECHAS  WHERE Fecha <> ''"_qs;
  const std::pair<QString (*)(const QString&, const QString&, const QString&), const char*> caminos[] = {
      {&EjecutarSQL, "Error. ¡Se ha producido un error en la Sentencia SQL!. Motivo: "},
      {&EjecutarSQLADO, "Error. Se ha producido un error en la Sentencia SQL!. Motivo: "},
  };
  for (const auto& [ejecutar, prefijo] : caminos) {
    Application::Instance()->ResetTerminated();
    mensajes.Expect(u"E"_qs).Expect(QString());
    const QString resultado = ejecutar(sql, kDatabase, QString());
    EXPECT_TRUE(resultado.startsWith(QString::fromUtf8(prefijo)) && resultado.size() > qsizetype(qstrlen(prefijo)))
        << resultado.toStdString();
    const auto& vistos = mensajes.Messages();
    ASSERT_GE(vistos.size(), 2);
    EXPECT_EQ(vistos[vistos.size() - 2].kind, u"E"_qs);
    EXPECT_EQ(vistos[vistos.size() - 2].text, resultado);
    // The statement as the caller gave it, before the empty comparison was widened.
    EXPECT_EQ(vistos.back().text, u"SentenciaSQL:\r\n"_qs + sql);
    EXPECT_TRUE(Application::Instance()->Terminated());
    EXPECT_EQ(ejecutar(sql, kDatabase, u"Silenciosa"_qs), resultado);
  }
  EXPECT_EQ(mensajes.Messages().size(), 4);
}

TEST_F(EjecucionSQL, AProcedureRunsAsCommandAndQueryOnTheEnginesRoadAndAsCommandOnlyOnADO) {
  // Renaming twice fails the second time: the engine's road reports it, ADO does not.
  Ejecutar(u"CREATE TABLE UNO (Codigo INTEGER)"_qs);
  Ejecutar(u"CREATE TABLE TRES (Codigo INTEGER)"_qs);
  EXPECT_EQ(EjecutarSQLADO(u"EXEC sp_rename 'UNO', 'DOS'"_qs, kDatabase), QString());
  const QString bde = Sql(u"EXEC sp_rename 'TRES', 'CUATRO'"_qs, u"Silenciosa"_qs);
  EXPECT_TRUE(bde.startsWith(u"Error. No es posible ejecutar la sentencia SQL. Motivo: "_qs)) << bde.toStdString();
  EXPECT_EQ(Sql(u"SELECT COUNT(*) FROM DOS"_qs), u"0"_qs);
  EXPECT_EQ(Sql(u"SELECT COUNT(*) FROM CUATRO"_qs), u"0"_qs);
}

TEST_F(EjecucionSQL, ServerNameChoosesTheServerOfANamedDatabaseOnADOOnly) {
  const QString otro = carpeta.Path() + u"/OTRO"_qs;
  const QString sql = u"SELECT COUNT(*) FROM master.dbo.sysdatabases WHERE name = 'ZEMGENERAL'"_qs;
  EXPECT_EQ(EjecutarSQLADO(sql, u"master"_qs), u"1"_qs);
  const QString resultado = EjecutarSQLADO(sql, u"master"_qs, u"Silenciosa,ServerName=np:"_qs + otro + u",X"_qs);
  EXPECT_TRUE(resultado.startsWith(u"Error. No es posible ejecutar la sentencia SQL. Motivo: "_qs) &&
              resultado.contains(otro))
      << resultado.toStdString();
  // The company connection keeps its server.
  EXPECT_EQ(EjecutarSQLADO(sql, kDatabase, u"ServerName=np:"_qs + otro), u"1"_qs);
}

// What the mapper keeps of a connection (its tables' columns, the statements
// it mapped) is given again only while the schema, ours or another
// program's, stays as it was, and only to the same date format and database.
TEST_F(EjecucionSQL, KeptMappingsFollowTheSchemaTheDateFormatAndTheDatabaseInUse) {
  const QString archivo = Conexiones(Servicios()).Database->FileName();
  enum Por { Nosotros, OtroPrograma, Falla };
  const char* const cuenta = "SELECT COUNT(*) FROM CAMBIOS WHERE F = '03/04/2024'";
  const struct {
    Por por;
    const char* sql;
    const char* esperado;
  } pasos[] = {
      // Rows are written past the road, so that a stale mapping cannot
      // store them as it then reads them.
      {Nosotros, "CREATE TABLE CAMBIOS (Codigo INTEGER DEFAULT 0, F VARCHAR(20) NULL)", ""},
      {OtroPrograma, "INSERT INTO CAMBIOS VALUES (1, '03/04/2024')", ""},
      {Nosotros, cuenta, "1"},
      // Made again with a date column: the literal is now a date.
      {Nosotros, "DROP TABLE CAMBIOS", ""},
      {Nosotros, "CREATE TABLE CAMBIOS (Codigo INTEGER DEFAULT 0, F DATETIME NULL)", ""},
      {OtroPrograma, "INSERT INTO CAMBIOS VALUES (2, '2024-03-04 00:00:00')", ""},
      {Nosotros, cuenta, "1"},
      // A column added by our road and by another program.
      {Falla, "SELECT COUNT(*) FROM CAMBIOS WHERE G = '03/04/2024'", ""},
      {Nosotros, "ALTER TABLE CAMBIOS ADD G DATETIME NULL", ""},
      {Nosotros, "UPDATE CAMBIOS SET G = F", ""},
      {Nosotros, "SELECT COUNT(*) FROM CAMBIOS WHERE G = '03/04/2024'", "1"},
      {Falla, "SELECT COUNT(*) FROM CAMBIOS WHERE H = '03/04/2024'", ""},
      {OtroPrograma, "ALTER TABLE CAMBIOS ADD COLUMN H DATETIME; UPDATE CAMBIOS SET H = F", ""},
      {Nosotros, "SELECT COUNT(*) FROM CAMBIOS WHERE H = '03/04/2024'", "1"},
      // Another program makes the table again with a text column.
      {OtroPrograma, "DROP TABLE CAMBIOS; CREATE TABLE CAMBIOS (Codigo INTEGER, F VARCHAR(20)); "
                     "INSERT INTO CAMBIOS VALUES (3, '03/04/2024')", ""},
      {Nosotros, cuenta, "1"},
      // After USE the same text runs on the other database's table of dates.
      {Nosotros, "USE ZEMGENERAL", ""},
      {Nosotros, "CREATE TABLE CAMBIOS (Codigo INTEGER DEFAULT 0, F DATETIME NULL)", ""},
      {Nosotros, "INSERT INTO CAMBIOS (Codigo, F) VALUES (4, '2024-03-04 00:00:00')", ""},
      {Nosotros, cuenta, "1"},
  };
  for (const auto& paso : pasos) {
    const QString sql = QString::fromUtf8(paso.sql);
    if (paso.por == OtroPrograma) {
      sqlite3* otro = nullptr;
      ASSERT_EQ(sqlite3_open(archivo.toUtf8().constData(), &otro), SQLITE_OK);
      EXPECT_EQ(sqlite3_exec(otro, paso.sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(otro);
      sqlite3_close(otro);
    } else if (paso.por == Falla) {
      EXPECT_TRUE(EjecutarSQL(sql, kDatabase, u"Silenciosa"_qs).startsWith(u"Error."_qs)) << paso.sql;
    } else {
      EXPECT_EQ(Sql(sql), QString::fromUtf8(paso.esperado)) << paso.sql;
    }
  }
  // Under another date format the same text names another day.
  const QString antes = FormatoFechaSQL;
  for (const auto& [formato, esperado] : {std::pair{"dd/mm/yyyy", "0"}, {"mm/dd/yyyy", "1"}}) {
    FormatoFechaSQL = QString::fromLatin1(formato);
    EXPECT_EQ(Sql(QString::fromUtf8(cuenta)), QString::fromLatin1(esperado)) << formato;
  }
  FormatoFechaSQL = antes;
}


// Kept rows come back cell for cell, whatever their values hold, and are
// answered from the list once kept; a failure is not kept.
TEST_F(EjecucionSQL, EjecutarSQLFilasConCacheKeepsEveryCellWhole) {
  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'a|b;c=d' WHERE Codigo = 2"_qs);
  Ejecutar(u"UPDATE CLIENTES SET Nombre = '%41 $CRLF$' WHERE Codigo = 3"_qs);
  StringList cache;
  const QString sql = u"SELECT Codigo, Nombre, Notas FROM CLIENTES ORDER BY Codigo"_qs;
  const QList<QStringList> esperadas = {{u"1"_qs, u"x"_qs, u"l1\r\nl2"_qs},
                                        {u"2"_qs, u"a|b;c=d"_qs, QString()},
                                        {u"3"_qs, u"%41 $CRLF$"_qs, QString()}};
  EXPECT_EQ(EjecutarSQLFilasConCache(sql, cache, kDatabase), esperadas);
  EXPECT_EQ(cache.Count(), 1);
  Ejecutar(u"DELETE FROM CLIENTES"_qs);
  EXPECT_EQ(EjecutarSQLFilasConCache(sql, cache, kDatabase), esperadas) << "answered from the list";
  EXPECT_EQ(EjecutarSQLFilasConCache(u"SELECT Codigo FROM CLIENTES"_qs, cache, kDatabase), QList<QStringList>());
  EXPECT_EQ(EjecutarSQLFilasConCache(u"SELECT Codigo FROM CLIENTES"_qs, cache, kDatabase), QList<QStringList>());
  EXPECT_EQ(cache.Count(), 2);
  EXPECT_EQ(EjecutarSQLFilasConCache(u"SELECT X FROM NOEXISTE"_qs, cache, kDatabase, u"Silenciosa"_qs), std::nullopt);
  EXPECT_EQ(cache.Count(), 2);
}
