#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/data/RecordsHelpers.h"
#include "tests/platform/data/ServerRoad.h"
#include "tests/platform/odbc/OdbcTrace.h"
#include "tests/platform/odbc/TdsLoginListener.h"

#include <gtest/gtest.h>

// A "Microsoft SQL Server" name that is a host goes to the real server,
// whatever names it: an alias of a table, a database component, an ADO text.
TEST(RealServerSession, AHostNameReachesTheServerThroughFreeTds) {
  DataFixture data;
  const auto params = [](const QString& server) {
    StringList lines;
    lines.Add(u"SERVER NAME="_qs + server);
    lines.Add(u"DATABASE NAME=EMP"_qs);
    lines.Add(u"USER NAME=ZEM"_qs);
    lines.Add(u"PASSWORD=clave"_qs);
    return lines;
  };
  const auto openTable = [&](const QString& server) {
    Session::Default().AddAlias(u"REAL"_qs, u"MSSQL"_qs, params(server));
    std::unique_ptr<Table> table = data.NewTable(u"CLIENTES"_qs);
    table->SetDatabaseName(u"REAL"_qs);
    table->Open();
  };
  const auto openDatabase = [&](const QString& server) {
    Database database;
    database.SetDatabaseName(u"BDREAL"_qs);
    database.SetDriverName(u"MSSQL"_qs);
    database.Params() = params(server);
    database.Open();
  };
  const auto openAdo = [](const QString& server) {
    AdoConnection ado;
    ado.SetConnectionString(u"Provider=SQLOLEDB.1;Password=clave;Persist Security Info=True;User ID=ZEM;"
                            "Initial Catalog=EMP;Data Source="_qs +
                            server + u";Application Name=zemwin|ANA"_qs);
    ado.Open();
  };
  for (const auto& open : {std::function<void(const QString&)>(openTable), std::function<void(const QString&)>(openDatabase),
                           std::function<void(const QString&)>(openAdo)}) {
    TdsLoginListener listener;
    const QString engineText = EngineMessageOf([&] { open(LoopbackServerName(listener.Port())); });
    const TdsLoginListener::Login received = listener.Received();
    EXPECT_TRUE(received.arrived);
    EXPECT_EQ(received.database, u"EMP"_qs);
    EXPECT_EQ(received.user, u"ZEM"_qs);
    EXPECT_EQ(received.password, u"clave"_qs);
    EXPECT_NE(engineText, QString::fromLatin1(EngineText::UnknownDatabase));
    EXPECT_FALSE(engineText.isEmpty());

    // Nothing listens: the driver's own refusal, not an unknown database.
    const QString closedPort = LoopbackServerName(ClosedLoopbackPort());
    EXPECT_TRUE(DriverMessageOf([&] { open(closedPort); }).contains(u"[FreeTDS]"_qs));
    EXPECT_NE(EngineMessageOf([&] { open(closedPort); }), QString::fromLatin1(EngineText::UnknownDatabase));
  }
}

// ADO's "Connect Timeout" bounds the login; without it this waits for the
// driver's own, which on FreeTDS is without end.
TEST(RealServerSession, TheAdoConnectTimeoutBoundsTheLogin) {
  TdsLoginListener silent(TdsLoginListener::Answers::Nothing);
  AdoConnection ado;
  ado.SetConnectionString(u"Provider=SQLOLEDB.1;Password=clave;User ID=ZEM;Initial Catalog=EMP;Data Source="_qs +
                          LoopbackServerName(silent.Port()) + u";Connect Timeout=1"_qs);
  EXPECT_TRUE(DriverMessageOf([&] { ado.Open(); }).contains(u"[FreeTDS]"_qs));
  EXPECT_FALSE(ado.Connected());
}

// An alias of driver ODBC names its data source, or a whole connection
// string, in "ODBC DSN"; every dataset and component on it shares one
// connection, and the tables there are written as anywhere else.
TEST(RealServerSession, AnOdbcAliasReachesItsDataSourceThroughOneConnection) {
  DataFixture data;
  StringList params;
  params.Add(u"ODBC DSN=DRIVER=SQLite3;Database="_qs + data.File());
  Session::Default().AddAlias(u"PORODBC"_qs, u"ODBC"_qs, params);
  Session::Default().AddAlias(u"SINDSN"_qs, u"ODBC"_qs, StringList());
  std::unique_ptr<Table> table = data.NewTable(u"CLIENTES"_qs);
  table->SetDatabaseName(u"SINDSN"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->Open(); }), QString::fromLatin1(EngineText::UnknownDatabase));

  table->SetDatabaseName(u"PORODBC"_qs);
  table->Open();
  AppendRecord(*table, {{u"Codigo"_qs, Int(7)}, {u"Nombre"_qs, Text(u"Eva"_qs)}});
  Database database;
  database.SetDatabaseName(u"BDODBC"_qs);
  database.SetAliasName(u"PORODBC"_qs);
  EXPECT_EQ(database.SharedConnection().get(), Session::Default().OpenDatabase(u"PORODBC"_qs).get());
  EXPECT_TRUE(database.SharedConnection()->Identity().contains(data.File()));
  EXPECT_EQ(database.SharedConnection()->QueryRows(u"SELECT Nombre FROM CLIENTES WHERE Codigo = 7"_qs).rows.value(0).value(0),
            QVariant(u"Eva"_qs));
  // The record another program changed since it was read is not overwritten.
  table->Edit();
  data.Execute(u"UPDATE CLIENTES SET Nombre = 'Otra' WHERE Codigo = 7"_qs);
  table->FieldByName(u"Nombre"_qs).SetAsString(u"Mía"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->Post(); }), QString::fromLatin1(EngineText::RecordChanged));
}

// On a server the system's statements go as it wrote them: not mapped to
// SQLite, not taken by the embedded server's commands, the general database
// by its three-part name and a backup's path the server's own. Seen where
// they reach the driver; the SQLite driver refuses what only a server runs.
TEST(RealServerSession, StatementsReachTheServerAsTheSystemWroteThem) {
  DataFixture data;
  InstallServerRoad();
  StringList params;
  params.Add(u"ODBC DSN=DRIVER=SQLite3;Database="_qs + data.File());
  Session::Default().AddAlias(u"PORODBC"_qs, u"ODBC"_qs, params);
  const auto odbc = std::dynamic_pointer_cast<OdbcConnection>(Session::Default().OpenDatabase(u"PORODBC"_qs));
  ASSERT_TRUE(odbc);
  const QString trace = data.Folder() + u"/odbc.trace"_qs;
  odbc->TraceTo(trace);
  const QStringList statements = {
      u"UPDATE CLIENTES SET [Nombre] = 'Eva' WHERE Codigo = 1"_qs,
      u"SELECT Codigo FROM ZEMGENERAL.dbo.USUARIO"_qs,
      u"BACKUP DATABASE [EMP]  TO DISK = 'D:\\Copias\\dbb_EMP_20240131101500.bak'  WITH FORMAT"_qs,
      u"RESTORE DATABASE [EMP]  FROM DISK = 'D:\\Copias\\dbb_EMP_20240131101500.bak'WITH REPLACE"_qs,
  };
  for (const QString& statement : statements) {
    Query query;
    query.SetDatabaseName(u"PORODBC"_qs);
    query.SQL().SetText(statement);
    const QString engineText = EngineMessageOf([&] { query.ExecSQL(); });
    EXPECT_TRUE(statement.startsWith(u"UPDATE"_qs) == engineText.isEmpty()) << engineText.toStdString();
  }
  EXPECT_EQ(OdbcTrace::StatementTexts(trace).join(u'\n').toStdString(), statements.join(u'\n').toStdString());
}
