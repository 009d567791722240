#include "tests/platform/data/ServerRoad.h"

#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"

void InstallServerRoad() {
  SqlRouting::Install([] { return u"mm/dd/yyyy"_qs; }, {u"usuario"_qs, u"equipo"_qs, u"ZEMWIN.EXE"_qs});
}

QString ServerConnectionString(const QString& serverFolder, const QString& database, const QString& password) {
  return QStringLiteral(
             "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=ZEM;Password=%1;Connect Timeout=0;"
             "Initial Catalog=%2;Data Source=%3;Application Name=ZEMWIN.EXE|ANA")
      .arg(password, database, serverFolder);
}

StringList ServerParams(const QString& serverFolder, const QString& database) {
  StringList params;
  params.Add(u"SERVER NAME=np:"_qs + serverFolder);
  params.Add(u"DATABASE NAME="_qs + database);
  params.Add(u"USER NAME=ZEM"_qs);
  return params;
}

void PointAtServer(Database& component, const QString& serverFolder, const QString& database) {
  component.SetDriverName(QLatin1String(Session::kSqlServerDriver));
  component.Params() = ServerParams(serverFolder, database);
}

void RunOnServer(const QString& serverFolder, const QString& database, const QString& sql) {
  Query query;
  query.SetDatabaseName(ServerConnectionString(serverFolder, database));
  query.SQL().SetText(sql);
  query.ExecSQL();
}

QString ValueOnServer(const QString& serverFolder, const QString& database, const QString& sql) {
  Query query;
  query.SetDatabaseName(ServerConnectionString(serverFolder, database));
  query.SQL().SetText(sql);
  query.Open();
  return query.Fields(0).AsString();
}
