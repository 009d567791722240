#include "platform/data/AdoConnection.h"

#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "platform/engine/EngineConnection.h"
#include "platform/sqlite/DatabaseError.h"

AdoConnection::AdoConnection(QObject* owner, Session* session)
    : QObject(owner), session_(session ? *session : Session::Default()) {}

AdoConnection::~AdoConnection() = default;

void AdoConnection::SetConnectionString(const QString& text) {
  if (Connected()) throw EDatabaseError(EngineText::DatasetOpen);
  connectionString_ = text;
}

void AdoConnection::SetConnected(bool connected) {
  if (connected)
    Open();
  else
    Close();
}

void AdoConnection::Open() {
  if (connection_) return;
  if (!Session::IsConnectionString(connectionString_))
    throw EDatabaseError(EngineText::UnknownDatabase, QStringLiteral("Connection string: %1").arg(connectionString_));
  connection_ = session_.OpenDatabase(connectionString_);
  SqlRouting::EndSession(*connection_, connectionString_);
}

void AdoConnection::Close() {
  if (connection_) SqlRouting::EndSession(*connection_, connectionString_);
  connection_.reset();
}

bool AdoConnection::InTransaction() const { return connection_ && connection_->InTransaction(); }

void AdoConnection::BeginTrans() {
  if (!connection().InTransaction()) connection().StartTransaction();
}

void AdoConnection::CommitTrans() {
  if (connection().InTransaction()) connection().Commit();
}

void AdoConnection::RollbackTrans() {
  if (connection().InTransaction()) connection().Rollback();
}

std::shared_ptr<EngineConnection> AdoConnection::SharedConnection() {
  Open();
  return connection_;
}

EngineConnection& AdoConnection::connection() {
  Open();
  return *connection_;
}
