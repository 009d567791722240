#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"
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
