#include "platform/sql/ServerSession.h"

#include "platform/sql/EmbeddedServer.h"
#include "platform/sqlite/Connection.h"

ServerSession::ServerSession(EmbeddedServer& server, int spid, QString database)
    : server_(server), spid_(spid), database_(std::move(database)) {}

ServerSession::~ServerSession() {
  try {
    server_.Master().Execute(QStringLiteral("DELETE FROM sessions WHERE spid = ?"), {spid_});
  } catch (const std::exception&) {
    // The process is ending its session anyway; a row left behind is not
    // counted once the process is gone.
  }
}

void ServerSession::UseDatabase(const QString& database, int dbid) {
  server_.Master().Execute(QStringLiteral("UPDATE sessions SET dbid = ? WHERE spid = ?"), {dbid, spid_});
  database_ = database;
}
