#include "platform/sql/EmbeddedServer.h"

#include "platform/Clock.h"
#include "platform/sql/Collation.h"
#include "platform/sql/ProcessIdentity.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlDates.h"
#include "platform/sql/SqlError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kFirstUserSpid = 51;
constexpr int kDefaultCompatibilityLevel = 150;

QString MasterSchema() {
  const QString names = QStringLiteral("COLLATE \"%1\"").arg(Collation::kDefaultName);
  return QStringLiteral(
             "CREATE TABLE IF NOT EXISTS sysdatabases (dbid INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE %1, "
             "crdate TEXT NOT NULL, cmptlevel INT NOT NULL, recovery_model_desc TEXT NOT NULL, "
             "collation_name TEXT NOT NULL);"
             "CREATE TABLE IF NOT EXISTS syslogins (name TEXT PRIMARY KEY %1, password_hash TEXT NOT NULL, "
             "createdate TEXT NOT NULL);"
             "CREATE TABLE IF NOT EXISTS sessions (spid INTEGER PRIMARY KEY, dbid INT NOT NULL, "
             "hostprocess TEXT NOT NULL, process_started TEXT NOT NULL, nt_username TEXT NOT NULL, "
             "hostname TEXT NOT NULL, program_name TEXT NOT NULL, loginame TEXT NOT NULL, login_time TEXT NOT NULL);"
             // A session whose process has ended (a crash) is not listed.
             "CREATE VIEW IF NOT EXISTS sysprocesses AS SELECT spid, 0 AS blocked, dbid, hostprocess, nt_username, "
             "hostname, program_name, loginame, login_time, 'sleeping' AS status, 'AWAITING COMMAND' AS cmd "
             "FROM sessions WHERE zem_process_alive(hostprocess, process_started);")
      .arg(names);
}

QString PasswordHash(const QString& login, const QString& password) {
  return QString::fromLatin1(
      QCryptographicHash::hash((login.toLower() + u'\n' + password).toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString Now() { return IsoDateTime(ClockSeam::Get().Now()); }

QString NoSuchDatabase(const QString& name) {
  return QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(name);
}

}  // namespace

EmbeddedServer::EmbeddedServer(QString folder) : folder_(QDir::cleanPath(std::move(folder))) {}

std::optional<QString> EmbeddedServer::FolderOfServerName(const QString& serverName) {
  QString name = serverName.trimmed();
  if (name.startsWith(u"np:", Qt::CaseInsensitive)) name = name.mid(3);
  if (name.isEmpty() || !QDir::isAbsolutePath(name) || !QFileInfo(name).isDir()) return std::nullopt;
  return QDir::cleanPath(name);
}

QString EmbeddedServer::DatabaseFile(const QString& name) const { return ServerFiles::DatabaseFile(folder_, name); }

sqlite3* EmbeddedServer::Master() const {
  if (!master_) {
    if (!ServerFiles::IsServerFolder(folder_))
      throw SqlError(QStringLiteral("The embedded server in %1 has no master database yet.").arg(folder_));
    master_ = OpenSqlite(ServerFiles::MasterFile(folder_), false);
  }
  return master_.get();
}

void EmbeddedServer::Connect(const QString& login, const QString& password) {
  if (!master_) master_ = OpenSqlite(ServerFiles::MasterFile(folder_));
  sqlite3* master = master_.get();
  ExecuteSql(master, QStringLiteral("BEGIN IMMEDIATE"));
  try {
    ExecuteScript(master, MasterSchema());
    if (QuerySql(master, QStringLiteral("SELECT count(*) FROM sysdatabases")).rows[0][0].toInt() == 0) {
      int dbid = 1;
      for (const char* system : {ServerFiles::kMasterName, "tempdb", "model", "msdb"})
        ExecuteSql(master, QStringLiteral("INSERT INTO sysdatabases VALUES (?, ?, ?, ?, 'SIMPLE', ?)"),
                   {dbid++, QString::fromLatin1(system), Now(), kDefaultCompatibilityLevel,
                    Collation::kDefaultName.toString()});
    }
    if (QuerySql(master, QStringLiteral("SELECT count(*) FROM syslogins")).rows[0][0].toInt() == 0)
      ExecuteSql(master, QStringLiteral("INSERT INTO syslogins VALUES (?, ?, ?)"),
                 {login, PasswordHash(login, password), Now()});
    ExecuteSql(master, QStringLiteral("COMMIT"));
  } catch (...) {
    ExecuteSql(master, QStringLiteral("ROLLBACK"));
    throw;
  }
  const SqlRows stored =
      QuerySql(master, QStringLiteral("SELECT password_hash FROM syslogins WHERE name = ?"), {login});
  if (stored.rows.isEmpty() || stored.rows[0][0].toString() != PasswordHash(login, password))
    throw SqlError(QStringLiteral("Login failed for user '%1'.").arg(login));
}

std::optional<DatabaseInfo> EmbeddedServer::Database(const QString& name) const {
  const SqlRows rows = QuerySql(Master(),
                                QStringLiteral("SELECT dbid, name, collation_name, cmptlevel, recovery_model_desc "
                                               "FROM sysdatabases WHERE name = ?"),
                                {name});
  if (rows.rows.isEmpty()) return std::nullopt;
  const QVariantList& row = rows.rows[0];
  return DatabaseInfo{row[0].toInt(), row[1].toString(), row[2].toString(), row[3].toInt(), row[4].toString()};
}

int EmbeddedServer::DatabaseId(const QString& name) const {
  const std::optional<DatabaseInfo> database = Database(name);
  if (!database) throw SqlError(NoSuchDatabase(name));
  return database->dbid;
}

void EmbeddedServer::CreateDatabase(const QString& name, const QString& collation) {
  if (Database(name))
    throw SqlError(QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(name));
  const QString file = DatabaseFile(name);
  for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) QFile::remove(file + suffix);
  OpenSqlite(file);
  RegisterDatabase(name, collation);
}

void EmbeddedServer::RegisterDatabase(const QString& name, const QString& collation) {
  ExecuteSql(Master(),
             QStringLiteral("INSERT INTO sysdatabases (name, crdate, cmptlevel, recovery_model_desc, collation_name) "
                            "VALUES (?, ?, ?, 'FULL', ?)"),
             {name.toUpper(), Now(), kDefaultCompatibilityLevel, collation});
}

void EmbeddedServer::RemoveDatabase(const QString& name) {
  ExecuteSql(Master(), QStringLiteral("DELETE FROM sysdatabases WHERE name = ?"), {name});
  const QString file = DatabaseFile(name);
  for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) QFile::remove(file + suffix);
}

void EmbeddedServer::SetCompatibilityLevel(const QString& name, int level) {
  ExecuteSql(Master(), QStringLiteral("UPDATE sysdatabases SET cmptlevel = ? WHERE dbid = ?"), {level, DatabaseId(name)});
}

void EmbeddedServer::SetRecoveryModel(const QString& name, const QString& model) {
  ExecuteSql(Master(), QStringLiteral("UPDATE sysdatabases SET recovery_model_desc = ? WHERE dbid = ?"),
             {model, DatabaseId(name)});
}

void EmbeddedServer::SetCollation(const QString& name, const QString& collation) {
  ExecuteSql(Master(), QStringLiteral("UPDATE sysdatabases SET collation_name = ? WHERE dbid = ?"),
             {collation, DatabaseId(name)});
}

std::unique_ptr<ServerSession> EmbeddedServer::OpenSession(const SessionInfo& info) {
  const int dbid = DatabaseId(info.database);
  const ProcessIdentity process = ProcessIdentity::Current();
  SqliteHandle master = OpenSqlite(ServerFiles::MasterFile(folder_), false);
  ExecuteSql(master.get(), QStringLiteral("BEGIN IMMEDIATE"));
  try {
    // Rows of ended processes go first, so their numbers can be reused.
    ExecuteSql(master.get(),
               QStringLiteral("DELETE FROM sessions WHERE NOT zem_process_alive(hostprocess, process_started)"));
    const int spid = std::max(kFirstUserSpid,
                              QuerySql(master.get(), QStringLiteral("SELECT ifnull(max(spid), 0) + 1 FROM sessions"))
                                  .rows[0][0]
                                  .toInt());
    ExecuteSql(master.get(), QStringLiteral("INSERT INTO sessions VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {spid, dbid, QString::number(process.pid), process.started, info.ntUserName, info.hostName,
                info.programName, info.login, Now()});
    ExecuteSql(master.get(), QStringLiteral("COMMIT"));
    return std::unique_ptr<ServerSession>(new ServerSession(std::move(master), spid, info.database));
  } catch (...) {
    ExecuteSql(master.get(), QStringLiteral("ROLLBACK"));
    throw;
  }
}

int EmbeddedServer::SessionsOfOtherProcesses(const QString& database) const {
  return QuerySql(Master(),
                  QStringLiteral("SELECT count(*) FROM sysprocesses P JOIN sysdatabases D ON D.dbid = P.dbid "
                                 "WHERE D.name = ? AND P.hostprocess <> ?"),
                  {database, QString::number(ProcessIdentity::Current().pid)})
      .rows[0][0]
      .toInt();
}

bool EmbeddedServer::EndSession(int spid) {
  if (QuerySql(Master(), QStringLiteral("SELECT count(*) FROM sysprocesses WHERE spid = ?"), {spid}).rows[0][0].toInt() == 0)
    return false;
  ExecuteSql(Master(), QStringLiteral("DELETE FROM sessions WHERE spid = ?"), {spid});
  return true;
}
