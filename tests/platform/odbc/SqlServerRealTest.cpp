#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/engine/EngineStatement.h"
#include "platform/format/DateTime.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/SqlServerOdbc.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// The road to a real server, run when ZEMWIN_SQLSERVER_ODBC holds an ODBC
// connection string; it writes only to a temporary table.
TEST(SqlServerReal, SessionRowsAndFailuresAsOnTheOtherRoads) {
  const QString conexion = qEnvironmentVariable("ZEMWIN_SQLSERVER_ODBC");
  if (conexion.isEmpty()) GTEST_SKIP() << "ZEMWIN_SQLSERVER_ODBC names no SQL Server";
  const auto servidor = SqlServerOdbc::Open(conexion);
  EXPECT_EQ(servidor->Server(), OdbcServer::SqlServer);
  const SqlRows opciones = servidor->QueryRows(
      u"SELECT CAST(SESSIONPROPERTY('QUOTED_IDENTIFIER') AS INT), CAST(SESSIONPROPERTY('ANSI_NULLS') AS INT), "
      "CAST(SESSIONPROPERTY('ANSI_PADDING') AS INT), CAST(SESSIONPROPERTY('ANSI_WARNINGS') AS INT), "
      "CAST(SESSIONPROPERTY('CONCAT_NULL_YIELDS_NULL') AS INT), @@TEXTSIZE, @@LOCK_TIMEOUT"_qs);
  EXPECT_EQ(opciones.rows.value(0), QVariantList({qint64(1), qint64(1), qint64(1), qint64(1), qint64(1),
                                                  qint64(2147483647), qint64(ConnectionSettings::BusyTimeout())}));

  servidor->Execute(u"CREATE TABLE #T (Id INT PRIMARY KEY, Nombre NVARCHAR(MAX) NOT NULL)"_qs);
  const QString largo = QString(u"añ€"_qs).repeated(40000);
  servidor->Execute(u"INSERT INTO #T VALUES (?, ?); INSERT INTO #T VALUES (?, ?)"_qs, {1, largo, 2, u"Ñandú"_qs});
  const std::unique_ptr<EngineStatement> consulta = servidor->Prepare(u"SELECT Id, Nombre FROM #T ORDER BY Id"_qs);
  ASSERT_TRUE(consulta->Step());
  // FreeTDS runs one statement at a time: this one waits for the rows above.
  EXPECT_EQ(servidor->QueryRows(u"SELECT COUNT(*) FROM #T"_qs).rows.value(0), QVariantList{qint64(2)});
  EXPECT_EQ(consulta->Column(1).toString(), largo);
  ASSERT_TRUE(consulta->Step());
  EXPECT_EQ(consulta->Column(1).toString(), u"Ñandú"_qs);
  EXPECT_FALSE(consulta->Step());

  const std::pair<const char*, const char*> fallos[] = {
      {"INSERT INTO #T VALUES (1, N'x')", "Key violation"},
      {"INSERT INTO #T VALUES (3, NULL)", "Field 'Nombre' must have a value"},
      {"SELECT * FROM NOEXISTE_ZEM", "Table does not exist"},
      {"SELECT 1; SELECT * FROM NOEXISTE_ZEM", "Table does not exist"},
  };
  for (const auto& [sql, texto] : fallos)
    EXPECT_EQ(EngineMessageOf([&] { servidor->QueryRows(QString::fromLatin1(sql)); }), QString::fromLatin1(texto))
        << sql;

  // The server ends the transaction on this failure: what runs after it is not committed as if it were the whole.
  servidor->StartTransaction();
  servidor->Execute(u"INSERT INTO #T VALUES (10, N'x'); SET XACT_ABORT ON"_qs);
  EXPECT_THROW(servidor->Execute(u"INSERT INTO #T VALUES (1, N'x')"_qs), EDatabaseError);
  servidor->Execute(u"SET XACT_ABORT OFF; INSERT INTO #T VALUES (11, N'y')"_qs);
  EXPECT_THROW(servidor->Commit(), EDatabaseError);
  EXPECT_FALSE(servidor->InTransaction());
  EXPECT_EQ(servidor->QueryRows(u"SELECT COUNT(*) FROM #T WHERE Id >= 10"_qs).rows.value(0), QVariantList{qint64(0)});
}

// A master's table on the server, written under a day-first session: every
// kind of column appended, edited and emptied, dates as the system meant
// them, and a record changed since it was read is not overwritten. The
// table is dropped at the end.
TEST(SqlServerReal, AMastersTableWritesEveryKindOfColumn) {
  const QString conexion = qEnvironmentVariable("ZEMWIN_SQLSERVER_ODBC");
  if (conexion.isEmpty()) GTEST_SKIP() << "ZEMWIN_SQLSERVER_ODBC names no SQL Server";
  StringList params;
  params.Add(u"ODBC DSN="_qs + conexion);
  Session::Default().AddAlias(u"REALSQL"_qs, u"ODBC"_qs, params);
  const std::shared_ptr<EngineConnection> servidor = Session::Default().OpenDatabase(u"REALSQL"_qs);
  const QString tabla = u"ZEM_PRUEBA_"_qs + QString::number(QCoreApplication::applicationPid());
  const QString numerada = tabla + u"_N"_qs;
  servidor->Execute(u"SET DATEFORMAT dmy; CREATE TABLE "_qs + tabla +
                    u" (Codigo INTEGER NOT NULL PRIMARY KEY, Nombre VARCHAR(40) DEFAULT '', Notas TEXT, Foto IMAGE, "
                    "Alta DATETIME, Saldo FLOAT); CREATE TABLE "_qs +
                    numerada + u" (Numero INTEGER IDENTITY(1,1) PRIMARY KEY, Nombre VARCHAR(20))"_qs);
  const struct Drop {
    EngineConnection& servidor;
    QStringList tablas;
    ~Drop() {
      try {
        servidor.Execute(u"DROP TABLE "_qs + tablas.join(u", "_qs));
      } catch (const EDatabaseError& error) {
        ADD_FAILURE() << error.what();
      }
    }
  } drop{*servidor, {tabla, numerada}};

  // The server numbers an identity column; the record shows its number.
  Table numeros;
  numeros.SetDatabaseName(u"REALSQL"_qs);
  numeros.SetTableName(numerada);
  numeros.Open();
  for (const char* nombre : {"uno", "dos"}) {
    numeros.Append();
    numeros.FieldByName(u"Nombre"_qs).SetAsString(QString::fromLatin1(nombre));
    numeros.Post();
  }
  EXPECT_EQ(numeros.FieldByName(u"Numero"_qs).AsInteger(), 2);
  numeros.Close();

  Table table;
  table.SetDatabaseName(u"REALSQL"_qs);
  table.SetTableName(tabla);
  table.Open();
  const QString notas = QString(u"Ñandú "_qs).repeated(2000);
  table.Append();
  table.FieldByName(u"Codigo"_qs).SetAsInteger(1);
  table.FieldByName(u"Nombre"_qs).SetAsString(u"Año"_qs);
  table.FieldByName(u"Notas"_qs).SetAsString(notas);
  table.FieldByName(u"Foto"_qs).SetAsBytes(QByteArray("\x00\xff\x10", 3));
  table.FieldByName(u"Alta"_qs).SetAsDateTime(EncodeDate(2024, 1, 5) + EncodeTime(10, 30, 0, 0));
  table.FieldByName(u"Saldo"_qs).SetAsFloat(2.5);
  table.Post();
  const auto fila = [&] {
    return servidor
        ->QueryRows(u"SELECT Nombre, CONVERT(VARCHAR(19), Alta, 120), DATALENGTH(Foto), DATALENGTH(Notas), Saldo FROM "_qs +
                    tabla)
        .rows.value(0);
  };
  EXPECT_EQ(fila(), QVariantList({u"Año"_qs, u"2024-01-05 10:30:00"_qs, qint64(3), qint64(notas.size()),
                                  2.5}));

  // Read in the order of a date, from a date on: the dates reach the server as dates.
  AppendRecord(table, {{u"Codigo"_qs, Int(2)}, {u"Alta"_qs, Variant::Date(EncodeDate(2024, 5, 1))}});
  table.SetIndexFieldNames(u"Alta"_qs);
  EXPECT_EQ(Walk(table, u"Codigo"_qs), QStringList({"1", "2"}));
  table.SetRange({Variant::Date(EncodeDate(2024, 2, 1))}, {Variant::Date(EncodeDate(2024, 12, 31))});
  EXPECT_EQ(Walk(table, u"Codigo"_qs), QStringList({"2"}));
  table.CancelRange();
  ASSERT_TRUE(table.FindKey({Variant::Date(EncodeDate(2024, 1, 5) + EncodeTime(10, 30, 0, 0))}));
  EXPECT_EQ(table.FieldByName(u"Codigo"_qs).AsInteger(), 1);

  // A query's named parameters, a date among them, on the same session.
  Query consulta;
  consulta.SetDatabaseName(u"REALSQL"_qs);
  consulta.SQL().SetText(u"SELECT Codigo FROM "_qs + tabla + u" WHERE Alta = :Alta AND Nombre = :Nombre"_qs);
  consulta.ParamByName(u"Alta"_qs).SetAsDateTime(EncodeDate(2024, 1, 5) + EncodeTime(10, 30, 0, 0));
  consulta.ParamByName(u"Nombre"_qs).SetAsString(u"Año"_qs);
  consulta.Open();
  EXPECT_EQ(consulta.RecordCount(), 1);
  consulta.Close();

  table.Edit();  // the unchanged check compares the memo, the picture, the date and the number as read
  table.FieldByName(u"Nombre"_qs).SetAsString(u"Eva"_qs);
  table.FieldByName(u"Foto"_qs).Clear();
  table.Post();
  EXPECT_EQ(fila().value(0), QVariant(u"Eva"_qs));
  EXPECT_TRUE(fila().value(2).isNull());

  table.Edit();
  servidor->Execute(u"UPDATE "_qs + tabla + u" SET Saldo = 3"_qs);
  table.FieldByName(u"Nombre"_qs).SetAsString(u"Mía"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table.Post(); }), QString::fromLatin1(EngineText::RecordChanged));
  table.Cancel();
  table.Close();
}
