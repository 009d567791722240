#include "platform/data/SqlRouting.h"

#include "platform/sql/ClientApplication.h"
#include "platform/sql/EmbeddedServer.h"
#include "platform/sql/MappingCache.h"
#include "platform/sql/ServerCommands.h"
#include "platform/sql/ServerSession.h"
#include "platform/sql/SqlDialect.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/DatabaseError.h"

#include <QDir>
#include <QSet>

#include <map>

ConnectionRoute::~ConnectionRoute() = default;

namespace SqlRouting {
namespace {

struct Road {
  bool installed = false;
  std::function<QString()> dateFormat;
  ClientIdentity identity;
  std::map<QString, std::unique_ptr<EmbeddedServer>> servers;  // by folder
  std::map<QString, QString> logins;                            // the last accepted login of each server
  QSet<QString> accepted;                                       // folder, login and password that logged in
};

// Left alive at exit, like the connections it serves.
Road& road() {
  static Road* instance = new Road;
  return *instance;
}

QString folderKey(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

EmbeddedServer& serverAt(const QString& key) {
  auto& server = road().servers[key];
  if (!server) server = std::make_unique<EmbeddedServer>(key);
  return *server;
}

EmbeddedServer& serverOf(const QString& folder) { return serverAt(folderKey(folder)); }

ConnectionRoute& routeOf(Connection& connection) {
  if (auto* route = dynamic_cast<ConnectionRoute*>(connection.State())) return *route;
  auto route = std::make_unique<ConnectionRoute>();
  route->context = SqlContext::ForConnection(connection, QString());
  route->context.cache = std::make_shared<MappingCache>(connection);
  if (!route->context.serverFolder.isEmpty()) route->serverKey = folderKey(route->context.serverFolder);
  ConnectionRoute& taken = *route;
  connection.SetState(std::move(route));
  return taken;
}

QString mapped(Connection& connection, const QString& statement) {
  SqlContext context = routeOf(connection).context;
  context.dateFormat = road().dateFormat();
  return SqlMapper(std::move(context)).Map(statement);
}

QString logicalKey(const QString& logicalName) {
  return (logicalName.startsWith(u'?') ? logicalName.mid(1) : logicalName).toUpper();
}

ServerSession& sessionOf(Connection& connection, EmbeddedServer& server, const QString& logicalName) {
  ConnectionRoute& route = routeOf(connection);
  std::unique_ptr<ServerSession>& session = route.sessions[logicalKey(logicalName)];
  if (!session) {
    const ClientIdentity& identity = road().identity;
    const auto login = road().logins.find(server.Folder());
    session = server.OpenSession({login == road().logins.end() ? QString() : login->second,
                                  route.context.databaseName, identity.ntUserName, identity.hostName,
                                  identity.programName});
  }
  return *session;
}

Routed routeOnServer(const std::shared_ptr<Connection>& connection, const QString& sql, const QString& logicalName) {
  EmbeddedServer& server = serverAt(routeOf(*connection).serverKey);
  ServerSession& session = sessionOf(*connection, server, logicalName);
  CommandOutcome outcome = ServerCommands(server).Run(sql, session);
  // After a USE the batch goes on in the session's new database, which the
  // session holds while it is there: a transaction begun in one statement
  // is still running at the next.
  std::shared_ptr<Connection> target = connection;
  ConnectionRoute& route = routeOf(*connection);
  if (session.Database().compare(route.context.databaseName, Qt::CaseInsensitive) != 0)
    target = OpenConnection(server.DatabaseFile(session.Database()));
  route.sessionDatabases[logicalKey(logicalName)] = target == connection ? nullptr : target;
  if (outcome.handled) return {connection, QString(), std::move(outcome.rows)};
  if (!outcome.condition.isEmpty()) {
    if (target->QueryRows(mapped(*target, outcome.condition)).rows.isEmpty()) return {target, QString(), SqlRows()};
    return routeOnServer(connection, outcome.statement, logicalName);
  }
  return {target, mapped(*target, outcome.statement), std::nullopt};
}

}  // namespace

void EndSession(EngineConnection& connection, const QString& logicalName) {
  if (auto* route = dynamic_cast<ConnectionRoute*>(connection.State())) {
    route->sessions.erase(logicalKey(logicalName));
    route->sessionDatabases.erase(logicalKey(logicalName));
  }
}

void Install(std::function<QString()> dateFormat, ClientIdentity identity) {
  Road& settings = road();
  settings.dateFormat = std::move(dateFormat);
  settings.identity = std::move(identity);
  if (settings.installed) return;
  settings.installed = true;
  ClientApplication::SetProgramName(settings.identity.programName);
  SqlDialect::InstallOnEveryConnection();
}

bool Installed() { return road().installed; }

void Reset() { road() = Road(); }

void Login(const QString& serverFolder, const QString& user, const QString& password) {
  const QString folder = folderKey(serverFolder);
  const QString key = folder + u'\n' + user + u'\n' + password;
  if (road().accepted.contains(key)) return;
  serverOf(folder).Connect(user, password);
  road().accepted.insert(key);
  road().logins[folder] = user;
  ClientApplication::SetLogin(user);
}

std::shared_ptr<Connection> OpenServerDatabase(const QString& serverFolder, const QString& database,
                                               const QString& user, const QString& password) {
  Login(serverFolder, user, password);
  EmbeddedServer& server = serverOf(serverFolder);
  if (!server.Database(database))
    throw EDatabaseError(EngineText::UnknownDatabase,
                         QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.")
                             .arg(database));
  return OpenConnection(server.DatabaseFile(database));
}

CompiledBatch Statements(const std::shared_ptr<EngineConnection>& connection, const QString& batch) {
  if (road().installed && std::dynamic_pointer_cast<Connection>(connection)) return CompileSqlBatch(batch);
  return {SplitSqlStatements(batch), false};
}

Routed Route(const std::shared_ptr<EngineConnection>& connection, const QString& sql, const QString& logicalName) {
  // The road leads to SQLite files only; a server runs what it is given.
  const std::shared_ptr<Connection> file = std::dynamic_pointer_cast<Connection>(connection);
  if (!road().installed || !file) return {connection, sql, std::nullopt};
  CompileSqlBatch(sql);
  if (!routeOf(*file).context.serverFolder.isEmpty()) return routeOnServer(file, sql, logicalName);
  return {connection, mapped(*file, sql), std::nullopt};
}

}  // namespace SqlRouting
