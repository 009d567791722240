#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

struct ConnectionRoute;
struct sqlite3;

// One open SQLite file. A process holds at most one connection per file:
// every dataset, database component and SQL routine on that file shares it,
// so a transaction started on it covers all of them.
class Connection {
 public:
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // For the SQL dialect layer (collations, functions, attached files).
  sqlite3* Handle() const { return db_; }
  const QString& FileName() const { return fileName_; }

  // Runs one or more statements without results; raises EDatabaseError.
  void Execute(const QString& sql);

  bool InTransaction() const;
  void StartTransaction();
  void Commit();
  void Rollback();

  bool TableExists(const QString& tableName);
  QStringList TableNames();

  // What the SQL road keeps with the connection (SqlRouting); null until
  // the road first takes a statement of it.
  ConnectionRoute* Route() const { return route_.get(); }
  void SetRoute(std::unique_ptr<ConnectionRoute> route);

 private:
  friend std::shared_ptr<Connection> OpenConnection(const QString& fileName);
  Connection(sqlite3* db, QString fileName);

  sqlite3* db_;
  QString fileName_;
  std::unique_ptr<ConnectionRoute> route_;
};

// The one way a connection is opened: the shared connection of the file when
// the process has one, else a new one in WAL mode with the busy timeout, on
// which every registered initialiser then runs. A missing file is created; a
// missing folder raises "Path not found".
std::shared_ptr<Connection> OpenConnection(const QString& fileName);

namespace ConnectionSettings {

using Initializer = std::function<void(sqlite3*)>;
// Runs on every connection opened from now on, in the order of registration;
// an initialiser that throws makes the opening fail.
void AddInitializer(Initializer initializer);

// How long a statement waits for another process's lock before it fails
// with "Record locked by another user"; applies to open connections too.
void SetBusyTimeout(int milliseconds);
int BusyTimeout();

// The text a query's SQL becomes before it reaches SQLite: the place where
// the SQL dialect layer turns the system's SQL into SQLite's. None by default.
using StatementTranslator = std::function<QString(Connection&, const QString&)>;
void SetStatementTranslator(StatementTranslator translator);
QString TranslateStatement(Connection& connection, const QString& sql);

}  // namespace ConnectionSettings
