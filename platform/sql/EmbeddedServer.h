#pragma once

#include "platform/sql/ServerSession.h"
#include "platform/sql/Sqlite.h"

#include <QString>

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

// The server a "Microsoft SQL Server" installation uses when its server
// name is a folder: master.sqlite (databases with their collation, logins,
// sessions) and one <NAME>.sqlite per database in that folder.
class EmbeddedServer {
 public:
  explicit EmbeddedServer(QString folder);

  // The folder a server name stands for: after an optional "np:", an
  // absolute folder; nothing for the name of a real server.
  static std::optional<QString> FolderOfServerName(const QString& serverName);

  const QString& Folder() const { return folder_; }
  QString DatabaseFile(const QString& name) const;

  // Logs in. The first connection to a folder without master.sqlite creates
  // it, with this login as the server's first; an unknown login or a wrong
  // password raises SqlError "Login failed for user 'X'.".
  void Connect(const QString& login, const QString& password);

  std::optional<DatabaseInfo> Database(const QString& name) const;
  void CreateDatabase(const QString& name, const QString& collation);
  void RegisterDatabase(const QString& name, const QString& collation);  // a restored file
  void RemoveDatabase(const QString& name);  // its row and its files
  void SetCompatibilityLevel(const QString& name, int level);
  void SetRecoveryModel(const QString& name, const QString& model);
  void SetCollation(const QString& name, const QString& collation);

  std::unique_ptr<ServerSession> OpenSession(const SessionInfo& info);
  // Live sessions on a database held by other processes than this one.
  int SessionsOfOtherProcesses(const QString& database) const;
  // Ends the listing of a live session; false when there is none.
  bool EndSession(int spid);

 private:
  sqlite3* Master() const;
  int DatabaseId(const QString& name) const;

  QString folder_;
  mutable SqliteHandle master_;
};
