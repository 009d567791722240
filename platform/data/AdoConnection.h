#pragma once

#include <QObject>
#include <QString>

#include <memory>

class EngineConnection;
class Session;

// An ADO connection: a connection string ("...;Initial Catalog=<db>;Data
// Source=<server>;...") in place of an alias. It reaches the process's one
// connection of that database, the same one its BDE twin (the Database
// component on it) uses, so a transaction begun on either is one
// transaction: BeginTrans joins a running one and CommitTrans finds nothing
// left to commit when the twin has committed first.
class AdoConnection : public QObject {
  Q_OBJECT

 public:
  explicit AdoConnection(QObject* owner = nullptr, Session* session = nullptr);
  ~AdoConnection() override;

  const QString& ConnectionString() const { return connectionString_; }
  void SetConnectionString(const QString& text);  // only while closed

  bool Connected() const { return connection_ != nullptr; }
  void SetConnected(bool connected);
  void Open();
  void Close();

  bool InTransaction() const;
  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();

  std::shared_ptr<EngineConnection> SharedConnection();  // connecting first when needed

 private:
  EngineConnection& connection();

  Session& session_;
  QString connectionString_;
  std::shared_ptr<EngineConnection> connection_;
};
