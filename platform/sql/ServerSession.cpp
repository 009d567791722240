#include "platform/sql/ServerSession.h"

ServerSession::ServerSession(SqliteHandle master, int spid, QString database)
    : master_(std::move(master)), spid_(spid), database_(std::move(database)) {}

ServerSession::~ServerSession() {
  try {
    ExecuteSql(master_.get(), QStringLiteral("DELETE FROM sessions WHERE spid = ?"), {spid_});
  } catch (const std::exception&) {
    // The process is ending its session anyway; a row left behind is not
    // counted once the process is gone.
  }
}

void ServerSession::UseDatabase(const QString& database, int dbid) {
  ExecuteSql(master_.get(), QStringLiteral("UPDATE sessions SET dbid = ? WHERE spid = ?"), {dbid, spid_});
  database_ = database;
}
