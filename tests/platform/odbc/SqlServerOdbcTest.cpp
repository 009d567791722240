#include "platform/odbc/OdbcError.h"
#include "platform/odbc/SqlServerOdbc.h"
#include "platform/sqlite/Connection.h"

#include <gtest/gtest.h>

TEST(SqlServerOdbc, ConnectionStringsOfTheAdoTexts) {
  const QString login = u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=ZEM;Password=x;Connect Timeout=0;"_qs;
  const QString fin = u"TDS_Version=7.4;ClientCharset=UTF-8;Language=;APP=zemwin|ANA"_qs;
  const std::pair<QString, QString> casos[] = {
      {login + u"Initial Catalog=EMP5;Data Source=SRV1;Application Name=zemwin|ANA"_qs,
       u"DRIVER={FreeTDS};SERVER=SRV1;PORT=1433;DATABASE=EMP5;UID=ZEM;PWD=x;"_qs + fin},
      {login + u"Initial Catalog=msdb;Data Source=np:Srv.local,1500;Application Name=zemwin|ANA"_qs,
       u"DRIVER={FreeTDS};SERVER=Srv.local;PORT=1500;DATABASE=msdb;UID=ZEM;PWD=x;"_qs + fin},
      {login + u"Initial Catalog=EMP;Data Source=SRV1\\SQLEXPRESS;Application Name=zemwin|ANA"_qs,
       u"DRIVER={FreeTDS};SERVER=SRV1\\SQLEXPRESS;DATABASE=EMP;UID=ZEM;PWD=x;"_qs + fin},
      {u"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;User ID=DOM\\ana;"
       "Initial Catalog=master;Data Source=(local);Application Name=zemwin|ANA"_qs,
       u"DRIVER={FreeTDS};SERVER=localhost;PORT=1433;DATABASE=master;UID=DOM\\ana;Trusted_Connection=Yes;"_qs + fin},
      // Values the ADO text quoted stay one value each.
      {u"Provider=SQLOLEDB.1;User ID=\"ZEM;DATABASE=OTRA\";Password=\"a}b;PWD=c\";Initial Catalog=\" EMP \";"
       "Data Source=SRV1;Application Name=zemwin|ANA"_qs,
       u"DRIVER={FreeTDS};SERVER=SRV1;PORT=1433;DATABASE={ EMP };UID={ZEM;DATABASE=OTRA};PWD={a}}b;PWD=c};"_qs + fin},
  };
  // A driver that reads "}}" inside braces back as "}".
  const OdbcDriverVersion controlador{1, 4, 0};
  for (const auto& [ado, odbc] : casos)
    EXPECT_EQ(SqlServerOdbc::ConnectionString(SqlServerOdbc::LoginOf(ado), controlador), odbc) << ado.toStdString();
}

TEST(SqlServerOdbc, SessionOptionsOfTheOriginalConnections) {
  // A record another program holds fails as on the other roads, after the same wait.
  ConnectionSettings::SetBusyTimeout(750);
  EXPECT_EQ(SqlServerOdbc::SessionOptions(),
            QStringList({"SET QUOTED_IDENTIFIER ON", "SET ANSI_NULLS ON", "SET ANSI_PADDING ON", "SET ANSI_WARNINGS ON",
                         "SET ANSI_NULL_DFLT_ON ON", "SET CONCAT_NULL_YIELDS_NULL ON", "SET CURSOR_CLOSE_ON_COMMIT OFF",
                         "SET IMPLICIT_TRANSACTIONS OFF", "SET TEXTSIZE 2147483647", "SET LOCK_TIMEOUT 750"}));
}

TEST(SqlServerOdbc, ServerErrorsBecomeTheEngineTexts) {
  const std::tuple<const char*, int, const char*, OdbcServer, const char*> casos[] = {
      {"23000", 2627, "Violation of PRIMARY KEY constraint 'T_Clave1'.", OdbcServer::SqlServer, "Key violation"},
      {"23000", 2601, "Cannot insert duplicate key row in object 'dbo.T' with unique index 'T_X'.",
       OdbcServer::SqlServer, "Key violation"},
      {"23000", 515, "Cannot insert the value NULL into column 'Codigo', table 'EMP.dbo.T'; column does not allow nulls.",
       OdbcServer::SqlServer, "Field 'Codigo' must have a value"},
      {"42S02", 208, "Invalid object name 'NOEXISTE'.", OdbcServer::SqlServer, "Table does not exist"},
      {"42S02", 3701, "Cannot drop the table 'X', because it does not exist.", OdbcServer::SqlServer,
       "Table does not exist"},
      {"40001", 1205, "Transaction was deadlocked", OdbcServer::SqlServer, "Record locked by another user"},
      {"HY000", 1222, "Lock request time out period exceeded.", OdbcServer::SqlServer, "Record locked by another user"},
      {"42000", 4060, "Cannot open database \"EMP9\" requested by the login.", OdbcServer::SqlServer, "Unknown database"},
      {"28000", 18456, "Login failed for user 'ZEM'.", OdbcServer::SqlServer, "Unknown user name or password"},
      {"23000", 547, "The INSERT statement conflicted with the FOREIGN KEY constraint", OdbcServer::SqlServer,
       "General SQL error"},
      {"42000", 102, "Incorrect syntax near 'X'.", OdbcServer::SqlServer, "General SQL error"},
      // Another driver's numbers mean nothing to SQL Server's list; its SQLSTATE still does.
      {"HY000", 2627, "some failure", OdbcServer::Other, "General SQL error"},
      {"42S02", 1, "no such table", OdbcServer::Other, "Table does not exist"},
      {"HY000", 5, "[SQLite]database is locked (5)", OdbcServer::Sqlite, "Record locked by another user"},
  };
  for (const auto& [estado, numero, texto, servidor, esperado] : casos) {
    const QList<OdbcDiagnostic> diagnosticos{{u"01000"_qs, 0, u"[FreeTDS]Changed database context"_qs},
                                            {QString::fromLatin1(estado), numero, QString::fromUtf8(texto)}};
    EXPECT_EQ(EngineTextOf(diagnosticos, servidor), QString::fromLatin1(esperado)) << numero;
  }
}

TEST(SqlServerOdbc, ServerNamesThatNameAHost) {
  for (const char* host : {"SRV1", "np:SRV1", "tcp:srv.local,1500", "192.168.1.10", "SRV1\\SQLEXPRESS", "srv-1 , 1433",
                           "(local)", ".", "[::1],1433"})
    EXPECT_TRUE(SqlServerOdbc::NamesAHost(QString::fromLatin1(host))) << host;
  for (const char* other : {"", "/srv/zem/servidor", "np:/srv/zem", "C:\\ZEM\\SERVIDOR", "SRV 1", "SRV1\\", "SRV1,",
                            "SRV1;DATABASE=X"})
    EXPECT_FALSE(SqlServerOdbc::NamesAHost(QString::fromLatin1(other))) << other;
}
