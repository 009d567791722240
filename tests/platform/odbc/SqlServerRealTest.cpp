#include "platform/engine/EngineStatement.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/SqlServerOdbc.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"

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
