#pragma once

#include "platform/sqlite/Connection.h"

#include <QString>
#include <QStringView>

class EmbeddedServer;
class ServerSession;

struct CommandOutcome {
  bool handled = false;  // a server command, carried out
  SqlRows rows;          // what it answered (SELECT @@VERSION)
  QString statement;     // not a server command: the statement left to map and run on the session's database
  QString condition;     // IF EXISTS (condition) statement: the query that lets the statement run
};

// The server commands the system sends, recognised from a fixed set of
// forms and carried out natively; a batch may begin with "USE <db>":
//   USE db | CREATE DATABASE db [COLLATE c] | DROP DATABASE db |
//   ALTER DATABASE db SET RECOVERY SIMPLE|FULL|BULK_LOGGED | ALTER DATABASE db COLLATE c |
//   BACKUP DATABASE db TO DISK = 'file' [WITH ...] | RESTORE DATABASE db FROM DISK = 'file' [WITH REPLACE] |
//   SET TRANSACTION ISOLATION LEVEL level | SELECT @@VERSION | EXEC sp_dbcmptlevel db, level |
//   EXEC sp_rename 'old', 'new' [, 'COLUMN'|'INDEX'|'OBJECT'] | KILL spid |
//   DBCC CHECKTABLE ('T') [WITH PHYSICAL_ONLY] | EXEC xp_readerrorlog n, n, 'text', 'text', from, to, 'ASC'|'DESC' |
//   DROP TRIGGER t | CREATE TRIGGER ... FOR EACH ROW ... (SQLite's own) |
//   IF EXISTS (query) statement (the query left to the caller)
// Any other command of the server (another EXEC, BACKUP LOG, another DBCC, ...)
// raises SqlError with the server's text. A database this process has open
// is restored through its open connection.
class ServerCommands {
 public:
  explicit ServerCommands(EmbeddedServer& server);

  CommandOutcome Run(QStringView batch, ServerSession& session);

  // The answer to SELECT @@VERSION.
  static QString VersionText();

 private:
  EmbeddedServer& server_;
};
