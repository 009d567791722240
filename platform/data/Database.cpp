#include "platform/data/Database.h"

#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "platform/engine/EngineConnection.h"
#include "platform/sqlite/DatabaseError.h"

Database::Database(QObject* owner, Session* session)
    : QObject(owner), session_(session ? *session : Session::Default()) {
  session_.RegisterDatabase(this);
}

Database::~Database() { session_.UnregisterDatabase(this); }

void Database::checkDisconnected() const {
  if (Connected()) throw EDatabaseError(EngineText::DatasetOpen);
}

void Database::SetDatabaseName(const QString& name) {
  checkDisconnected();
  databaseName_ = name;
}

void Database::SetAliasName(const QString& alias) {
  checkDisconnected();
  aliasName_ = alias;
  if (!alias.isEmpty()) driverName_.clear();
}

void Database::SetDriverName(const QString& driver) {
  checkDisconnected();
  driverName_ = driver;
  if (!driver.isEmpty()) aliasName_.clear();
}

std::pair<QString, StringList> Database::driverAndParams() const {
  QString driver = driverName_;
  StringList params;
  if (!aliasName_.isEmpty()) {
    if (!session_.IsAlias(aliasName_))
      throw EDatabaseError(EngineText::UnknownDatabase, QStringLiteral("Alias: %1").arg(aliasName_));
    driver = session_.GetAliasDriverName(aliasName_);
    params = session_.GetAliasParams(aliasName_);
  }
  for (int i = 0; i < params_.Count(); ++i) params.SetValue(params_.Names(i), params_.ValueFromIndex(i));
  return {driver, params};
}

bool Database::namesAFolder() const { return aliasName_.isEmpty() && driverName_.isEmpty(); }

QString Database::FileName() const {
  if (namesAFolder()) {
    if (databaseName_.isEmpty()) throw EDatabaseError(EngineText::UnknownDatabase);
    return session_.AliasOrFolderFile(databaseName_);
  }
  const auto [driver, params] = driverAndParams();
  return Session::DatabaseFile(driver, params);
}

void Database::SetConnected(bool connected) {
  if (connected)
    Open();
  else
    Close();
}

void Database::Open() {
  if (connection_) return;
  if (namesAFolder()) {
    if (databaseName_.isEmpty()) throw EDatabaseError(EngineText::UnknownDatabase);
    connection_ = session_.OpenAliasOrFolder(databaseName_);
    return;
  }
  const auto [driver, params] = driverAndParams();
  connection_ = Session::Connect(driver, params);
  SqlRouting::EndSession(*connection_, databaseName_);
}

void Database::Close() {
  if (connection_) SqlRouting::EndSession(*connection_, databaseName_);
  connection_.reset();
}

bool Database::InTransaction() const { return connection_ && connection_->InTransaction(); }

void Database::StartTransaction() { connection().StartTransaction(); }

void Database::Commit() { connection().Commit(); }

void Database::Rollback() { connection().Rollback(); }

void Database::Execute(const QString& sql) { connection().Execute(sql); }

QStringList Database::GetTableNames() { return connection().TableNames(); }

std::shared_ptr<EngineConnection> Database::SharedConnection() {
  Open();
  return connection_;
}

EngineConnection& Database::connection() {
  Open();
  return *connection_;
}
