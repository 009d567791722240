#pragma once

#include "platform/StringList.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class EngineConnection;
class Session;

// A database component: a logical name (DatabaseName) that datasets use,
// bound to an alias of the session, a driver and its parameters. Its
// connection is the process's shared connection of the file they address.
class Database : public QObject {
  Q_OBJECT

 public:
  explicit Database(QObject* owner = nullptr, Session* session = nullptr);
  ~Database() override;

  QString DatabaseName() const { return databaseName_; }
  void SetDatabaseName(const QString& name);  // only while not connected
  QString AliasName() const { return aliasName_; }
  void SetAliasName(const QString& alias);
  QString DriverName() const { return driverName_; }
  void SetDriverName(const QString& driver);
  // Parameter lines (NAME=value) over those of the alias.
  StringList& Params() { return params_; }
  const StringList& Params() const { return params_; }

  // The file the alias, driver and parameters address.
  QString FileName() const;

  bool Connected() const { return connection_ != nullptr; }
  void SetConnected(bool connected);
  void Open();
  void Close();

  bool InTransaction() const;
  void StartTransaction();
  void Commit();
  void Rollback();
  void Execute(const QString& sql);
  QStringList GetTableNames();

  // The open connection (connecting first when needed).
  std::shared_ptr<EngineConnection> SharedConnection();

 private:
  void checkDisconnected() const;
  // The driver and the parameters the alias and the component's own give.
  std::pair<QString, StringList> driverAndParams() const;
  bool namesAFolder() const;  // no alias and no driver: the name is a folder
  EngineConnection& connection();

  Session& session_;
  QString databaseName_;
  QString aliasName_;
  QString driverName_;
  StringList params_;
  std::shared_ptr<EngineConnection> connection_;
};
