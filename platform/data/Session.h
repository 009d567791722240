#pragma once

#include "platform/StringList.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class EngineConnection;
class Database;
class EngineConfigCache;
class LockFile;

// The database engine's session: the aliases of the engine configuration
// file and those added in memory, the database components by name, the
// session number and the private folder of this running instance. Every
// logical database name is turned into its physical file here, and only here.
class Session {
 public:
  static constexpr auto kConfigFile = "MOTORBD.CFG";
  static constexpr auto kStandardDriver = "STANDARD";  // Paradox folders
  static constexpr auto kSqlServerDriver = "MSSQL";
  static constexpr auto kOdbcDriver = "ODBC";  // "ODBC DSN": a data source or a connection string
  static constexpr auto kDataFile = "DATOS.SQLITE";

  // The program's session, which datasets and database components use.
  static Session& Default();
  // Puts the program's session back as it starts: no session aliases, no
  // settings, no session number, private folder or locks. Its database
  // components stay registered, as they unregister themselves.
  static void ResetDefault();

  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The engine configuration file; by default MOTORBD.CFG in the current
  // folder, read again whenever it or the file found changes.
  QString ConfigFile() const;
  void SetConfigFile(const QString& path) { configFile_ = path; }

  // Aliases of the configuration file and of this session together.
  bool IsAlias(const QString& name) const;
  QStringList GetAliasNames() const;
  QString GetAliasDriverName(const QString& name) const;  // its TYPE
  StringList GetAliasParams(const QString& name) const;   // PATH=..., SERVER NAME=...
  // Session aliases live in memory until the program ends.
  void AddAlias(const QString& name, const QString& driver, const StringList& params);
  void AddStandardAlias(const QString& name, const QString& path, const QString& defaultDriver);

  // The physical file of a logical database name: a database component's
  // name, an alias, or a folder; a leading "?" is ignored. Raises
  // EDatabaseError "Unknown database" when the name means nothing.
  QString DatabaseFile(const QString& databaseName) const;
  // The same for an alias or a folder, leaving database components aside.
  QString AliasOrFolderFile(const QString& name) const;
  // The file a driver and its parameters address; for MSSQL, the embedded
  // server's file of the database (EmbeddedServer::FolderOfServerName).
  static QString DatabaseFile(const QString& driver, const StringList& params);
  // The shared connection of a logical name, through its database component
  // when there is one (which is connected if it was not). An ADO connection
  // string names a database of the embedded server too. A SQL Server name
  // that is a host, not a folder, is a real server: its login goes through
  // unixODBC and FreeTDS (ServerConnections), and a refusal raises the
  // engine's text; so is an alias of driver ODBC.
  std::shared_ptr<EngineConnection> OpenDatabase(const QString& databaseName);
  // The same for an alias or a folder, leaving database components aside.
  std::shared_ptr<EngineConnection> OpenAliasOrFolder(const QString& name);
  // The connection a driver and its parameters address; with the SQL road
  // installed, a server database is opened only after the login and only
  // when the server lists it (SqlRouting).
  static std::shared_ptr<EngineConnection> Connect(const QString& driver, const StringList& params);

  // An ADO connection string ("Initial Catalog=...;Data Source=..."), and
  // the MSSQL parameters it stands for.
  static bool IsConnectionString(const QString& text);
  static StringList ConnectionStringParams(const QString& connectionString);

  Database* FindDatabase(const QString& databaseName) const;
  void RegisterDatabase(Database* database);
  void UnregisterDatabase(Database* database);

  // The network control folder: the configuration's NET DIR unless set.
  QString NetFileDir() const;
  void SetNetFileDir(const QString& folder) { netFileDir_ = folder; }
  QString NetUserName() const;
  void SetNetUserName(const QString& name) { netUserName_ = name; }

  // This instance's session number: the lowest number whose lock file in the
  // network control folder no running instance holds; 1 and up.
  int SessionNumber();
  struct User {
    QString userName;
    int sessionNumber;
  };
  // The running sessions that share the network control folder.
  QList<User> UserList() const;

  // The private folder is held by one running instance at a time; taking a
  // folder held by another raises "Directory is busy", a missing one "Path
  // not found". An empty path gives the folder up.
  QString PrivateDir() const { return privateDir_; }
  void SetPrivateDir(const QString& folder);

 private:
  struct Alias {
    QString driver;
    StringList params;
  };
  std::optional<Alias> findAlias(const QString& name) const;
  QString sessionLockPath(int number) const;

  QString configFile_;
  std::unique_ptr<EngineConfigCache> configCache_;
  QMap<QString, Alias> sessionAliases_;  // by upper-cased name
  QList<Database*> databases_;
  QString netFileDir_;
  QString netUserName_;
  std::unique_ptr<LockFile> sessionLock_;
  int sessionNumber_ = 0;
  QString privateDir_;
  std::unique_ptr<LockFile> privateLock_;
};
