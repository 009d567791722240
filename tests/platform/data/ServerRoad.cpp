#include "tests/platform/data/ServerRoad.h"

#include "platform/data/Query.h"
#include "platform/data/SqlRouting.h"

void InstallServerRoad() {
  SqlRouting::Install([] { return QStringLiteral("mm/dd/yyyy"); },
                      {QStringLiteral("usuario"), QStringLiteral("equipo"), QStringLiteral("ZEMWIN.EXE")});
}

QString ServerConnectionString(const QString& serverFolder, const QString& database, const QString& password) {
  return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=ZEM;Password=%1;Connect Timeout=0;"
                        "Initial Catalog=%2;Data Source=%3;Application Name=ZEMWIN.EXE|ANA")
      .arg(password, database, serverFolder);
}

void RunOnServer(const QString& serverFolder, const QString& database, const QString& sql) {
  Query query;
  query.SetDatabaseName(ServerConnectionString(serverFolder, database));
  query.SQL().SetText(sql);
  query.ExecSQL();
}
