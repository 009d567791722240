#pragma once

#include <QString>

class EmbeddedServer;

// Who opens a session, as the server's process list shows it.
struct SessionInfo {
  QString login;
  QString database;     // the session's database at the start
  QString ntUserName;   // the logon name of the operating system's user
  QString hostName;
  QString programName;
};

// A connection's session on the embedded server: listed in
// master.dbo.sysprocesses while it lives (and while its process runs, so a
// crashed instance is not counted), with the session's current database and
// transaction isolation level. Made by EmbeddedServer::OpenSession; the
// server outlives its sessions.
class ServerSession {
 public:
  ~ServerSession();
  ServerSession(const ServerSession&) = delete;
  ServerSession& operator=(const ServerSession&) = delete;

  int Spid() const { return spid_; }
  const QString& Database() const { return database_; }
  const QString& IsolationLevel() const { return isolationLevel_; }

  // The caller checks that the database exists.
  void UseDatabase(const QString& database, int dbid);
  void SetIsolationLevel(const QString& level) { isolationLevel_ = level; }

 private:
  friend class EmbeddedServer;
  ServerSession(EmbeddedServer& server, int spid, QString database);

  EmbeddedServer& server_;
  int spid_;
  QString database_;
  QString isolationLevel_ = QStringLiteral("READ COMMITTED");
};
