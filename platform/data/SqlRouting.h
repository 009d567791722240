#pragma once

#include "platform/sql/SqlBatch.h"
#include "platform/sql/SqlMapper.h"
#include "platform/sqlite/Connection.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class ServerSession;

// The road of the system's SQL Server statements to SQLite. On a database
// of the embedded server a statement goes to the server's commands first,
// and what they leave is mapped and run on the session's current database;
// on a data folder's file it is mapped only. Until Install is called, and
// on a real server always, the data layer runs statements as written.
namespace SqlRouting {

// Who the server's process list shows for this program's sessions.
struct ClientIdentity {
  QString ntUserName;
  QString hostName;
  QString programName;
};

// Turns the road on for the whole process: the SQL dialect on every
// connection opened from now on, the server's login and database checks
// when a server database is opened, and the mapping of every query. The
// date format (`FormatoFechaSQL`) is asked again for each statement.
void Install(std::function<QString()> dateFormat, ClientIdentity identity);
bool Installed();
// Turns the road off and forgets its servers and logins, as the process
// starts; the dialect stays on the connection initialisers.
void Reset();

// Logs in to the embedded server of a folder (creating the server on the
// first login). A refused login raises EDatabaseError "Unknown user name or
// password" with the server's text.
void Login(const QString& serverFolder, const QString& user, const QString& password);

// The connection to a database of the embedded server after the login; a
// database the server does not list raises EDatabaseError "Unknown
// database" with the server's text, and no file is made for it.
std::shared_ptr<Connection> OpenServerDatabase(const QString& serverFolder, const QString& database,
                                               const QString& user, const QString& password);

// What a statement became: the server's own answer, or the SQLite text
// and the connection it runs on.
struct Routed {
  std::shared_ptr<EngineConnection> connection;
  QString statement;
  std::optional<SqlRows> answer;
};
// The statements of a batch, to be routed one by one: on the road the batch
// is compiled whole first (CompileSqlBatch), so a batch with a statement the
// server refuses raises EDatabaseError and none of it runs.
CompiledBatch Statements(const std::shared_ptr<EngineConnection>& connection, const QString& batch);
// One statement (a batch is split first: Statements) of a logical
// connection: the database name a dataset uses (a database component, an
// alias, an ADO connection string). Each logical connection has its own
// session on the embedded server, so a USE moves only it, though several
// share one file connection. Raises EDatabaseError with the server's or the
// mapper's text when the statement is refused.
Routed Route(const std::shared_ptr<EngineConnection>& connection, const QString& sql, const QString& logicalName = {});
// Ends the session of a logical connection that closes or opens again: a
// closed one is no longer listed, and one opened again starts in the
// connection's own database, whatever an earlier USE of it chose.
void EndSession(EngineConnection& connection, const QString& logicalName);

}  // namespace SqlRouting

// What the road keeps with a connection: what the mapper knows of it and,
// on the embedded server, the sessions of its logical connections (by
// their upper-cased names), each with its current database.
struct ConnectionRoute : ConnectionState {
  SqlContext context;  // without the date format, which is asked per statement
  QString serverKey;   // of the embedded server's folder, as the road keeps its servers
  std::map<QString, std::unique_ptr<ServerSession>> sessions;
  // The connection of the other database a session is in, held meanwhile.
  std::map<QString, std::shared_ptr<Connection>> sessionDatabases;
  ~ConnectionRoute() override;
};
