#pragma once

#include "platform/sql/ServerSession.h"

#include "platform/sqlite/Connection.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// A database as master.sqlite lists it.
struct DatabaseInfo {
  int dbid = 0;
  QString name;
  QString collation;
  int compatibilityLevel = 0;
  QString recoveryModel;
};

class Connection;

// The server a "Microsoft SQL Server" installation uses when its server
// name is a folder: master.sqlite (databases with their collation, logins,
// sessions) and one <NAME>.sqlite per database in that folder. Its work on
// a file goes through the process's one connection of that file, so it joins
// whatever transaction the process has open there. Every connection opened
// once a server exists has the SQL dialect.
class EmbeddedServer {
 public:
  explicit EmbeddedServer(QString folder);

  // The folder a server name stands for: after an optional "np:", an
  // existing absolute folder; nothing for the name of a real server.
  static std::optional<QString> FolderOfServerName(const QString& serverName);

  const QString& Folder() const { return folder_; }
  QString DatabaseFile(const QString& name) const;
  // The connection of master.sqlite; raises SqlError while there is none.
  Connection& Master() const;

  // Logs in. The first connection to a folder without master.sqlite creates
  // it, with this login as the server's first; an unknown login or a wrong
  // password raises SqlError "Login failed for user 'X'." (engine text
  // "Unknown user name or password").
  void Connect(const QString& login, const QString& password);

  std::optional<DatabaseInfo> Database(const QString& name) const;
  void CreateDatabase(const QString& name, const QString& collation);
  void RegisterDatabase(const QString& name, const QString& collation);  // a restored file
  void RemoveDatabase(const QString& name);  // its row and its files
  void SetCompatibilityLevel(const QString& name, int level);
  void SetRecoveryModel(const QString& name, const QString& model);
  void SetCollation(const QString& name, const QString& collation);

  std::unique_ptr<ServerSession> OpenSession(const SessionInfo& info);
  // Live sessions on a database but the one given, this process's too, and
  // the connections that hold it attached under a three-part name.
  int OtherSessions(const QString& database, int spid) const;
  // A connection (its file, the holder) of this process attaches the
  // database under a schema name: it holds it until it detaches it. Refused
  // while the database is being restored, with the server's text.
  void HoldDatabase(const QString& database, const QString& schema, const QString& holder);
  void ReleaseDatabase(const QString& database, const QString& holder);
  // This process's connections that hold the database outside a
  // transaction let it go, as a session's statement that has ended would.
  void ReleaseIdleHolds(const QString& database);
  // A restore of the database under way in this process, or no longer; a
  // process's death ends its own. While one runs, no session comes onto the
  // database: the refusal is the server's text.
  void MarkRestoring(int dbid, bool underWay);
  bool Restoring(int dbid) const;
  void RefuseWhileRestoring(const QString& database, int dbid) const;
  // Ends the listing of a live session; false when there is none.
  bool EndSession(int spid);

  // The server's error log: a line added now, and the lines holding every
  // text searched (without regard to case), oldest or newest first.
  void LogLine(const QString& processInfo, const QString& text);
  SqlRows ReadLog(const QStringList& searched, bool newestFirst) const;

 private:
  int DatabaseId(const QString& name) const;

  QString folder_;
  mutable std::shared_ptr<Connection> master_;
};

// A database of an embedded server that the connection attaches on demand
// (a three-part name) is held by it, in that server's master, until it is
// detached; given to every connection with the SQL dialect.
void HoldAttachedDatabases(Connection& connection);
