#include "platform/sql/EmbeddedServer.h"

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/sql/Collation.h"
#include "platform/sql/InPlaceRestore.h"
#include "platform/sql/ProcessIdentity.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlDates.h"
#include "platform/sql/SqlDialect.h"
#include "platform/sql/SqlError.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"
#include "platform/engine/WriteTransaction.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr int kFirstUserSpid = 51;
constexpr int kDefaultCompatibilityLevel = 150;

QString MasterSchema() {
  const QString names = QStringLiteral("COLLATE ") + SqlText::Quoted(Collation::kDefaultName.toString());
  return QStringLiteral(
             "CREATE TABLE IF NOT EXISTS sysdatabases (dbid INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE %1, "
             "crdate TEXT NOT NULL, cmptlevel INT NOT NULL, recovery_model_desc TEXT NOT NULL, "
             "collation_name TEXT NOT NULL);"
             "CREATE TABLE IF NOT EXISTS syslogins (name TEXT PRIMARY KEY %1, password_hash TEXT NOT NULL, "
             "createdate TEXT NOT NULL);"
             "CREATE TABLE IF NOT EXISTS sessions (spid INTEGER PRIMARY KEY, dbid INT NOT NULL, "
             "hostprocess TEXT NOT NULL, process_started TEXT NOT NULL, nt_username TEXT NOT NULL, "
             "hostname TEXT NOT NULL, program_name TEXT NOT NULL, loginame TEXT NOT NULL, login_time TEXT NOT NULL);"
             // The databases a process is restoring now: no session comes onto them.
             "CREATE TABLE IF NOT EXISTS restores (dbid INTEGER PRIMARY KEY, hostprocess TEXT NOT NULL, "
             "process_started TEXT NOT NULL);"
             // The databases a connection holds attached under another name.
             "CREATE TABLE IF NOT EXISTS held_databases (dbid INT NOT NULL, schema_name TEXT NOT NULL, "
             "holder TEXT NOT NULL, hostprocess TEXT NOT NULL, process_started TEXT NOT NULL, "
             "PRIMARY KEY (dbid, holder, hostprocess, process_started));"
             "CREATE TABLE IF NOT EXISTS errorlog (LogDate TEXT NOT NULL, ProcessInfo TEXT NOT NULL, Text TEXT NOT NULL);"
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

// A file the server does not list (left by a crash or removed by hand) is
// replaced by an empty database only once that exists beside it, so a
// failure leaves it as it was. Its old log must go first, or SQLite would
// replay it on the new file.
void ReplaceWithEmptyDatabase(const QString& file) {
  QSaveFile empty(file);
  const bool created = empty.open(QIODevice::WriteOnly);
  if (created)
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) QFile::remove(file + suffix);
  if (!created || !empty.commit())
    throw SqlError(QStringLiteral("CREATE DATABASE failed. Some file names listed could not be created. Check related "
                                  "errors."));
  OpenConnection(file);
}

QString NoSuchDatabase(const QString& name) {
  return QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(name);
}

}  // namespace

EmbeddedServer::EmbeddedServer(QString folder) : folder_(QDir::cleanPath(std::move(folder))) {
  SqlDialect::InstallOnEveryConnection();
}

std::optional<QString> EmbeddedServer::FolderOfServerName(const QString& serverName) {
  QString name = Paths::Internal(serverName.trimmed());
  if (name.startsWith(u"np:", Qt::CaseInsensitive)) name = name.mid(3);
  if (name.isEmpty() || !QDir::isAbsolutePath(name) || !QFileInfo(name).isDir()) return std::nullopt;
  return QDir::cleanPath(name);
}

QString EmbeddedServer::DatabaseFile(const QString& name) const { return ServerFiles::DatabaseFile(folder_, name); }

Connection& EmbeddedServer::Master() const {
  if (!master_) {
    if (!ServerFiles::IsServerFolder(folder_))
      throw SqlError(QStringLiteral("The embedded server in %1 has no master database yet.").arg(folder_));
    master_ = OpenConnection(ServerFiles::MasterFile(folder_));
  }
  return *master_;
}

void EmbeddedServer::Connect(const QString& login, const QString& password) {
  if (!master_) master_ = OpenConnection(ServerFiles::MasterFile(folder_));
  Connection& master = *master_;
  {
    WriteTransaction transaction(master);
    master.Execute(MasterSchema());
    if (master.QueryRows(QStringLiteral("SELECT count(*) FROM sysdatabases")).rows[0][0].toInt() == 0) {
      int dbid = 1;
      for (const char* system : {ServerFiles::kMasterName, "tempdb", "model", "msdb"})
        master.Execute(QStringLiteral("INSERT INTO sysdatabases VALUES (?, ?, ?, ?, 'SIMPLE', ?)"),
                       {dbid++, QString::fromLatin1(system), Now(), kDefaultCompatibilityLevel,
                        Collation::kDefaultName.toString()});
    }
    if (master.QueryRows(QStringLiteral("SELECT count(*) FROM syslogins")).rows[0][0].toInt() == 0)
      master.Execute(QStringLiteral("INSERT INTO syslogins VALUES (?, ?, ?)"),
                     {login, PasswordHash(login, password), Now()});
    transaction.Commit();
  }
  const SqlRows stored =
      master.QueryRows(QStringLiteral("SELECT password_hash FROM syslogins WHERE name = ?"), {login});
  if (stored.rows.isEmpty() || stored.rows[0][0].toString() != PasswordHash(login, password))
    throw SqlError(QStringLiteral("Login failed for user '%1'.").arg(login), EngineText::UnknownUserName);
}

std::optional<DatabaseInfo> EmbeddedServer::Database(const QString& name) const {
  const SqlRows rows = Master().QueryRows(QStringLiteral("SELECT dbid, name, collation_name, cmptlevel, "
                                                         "recovery_model_desc FROM sysdatabases WHERE name = ?"),
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
  const QString file = DatabaseFile(name);
  // Checked and listed under the write lock, so two processes cannot both
  // create it.
  WriteTransaction transaction(Master());
  if (Database(name))
    throw SqlError(QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(name));
  RegisterDatabase(name, collation);
  ReplaceWithEmptyDatabase(file);
  transaction.Commit();
}

void EmbeddedServer::RegisterDatabase(const QString& name, const QString& collation) {
  Master().Execute(
      QStringLiteral("INSERT INTO sysdatabases (name, crdate, cmptlevel, recovery_model_desc, collation_name) "
                     "VALUES (?, ?, ?, 'FULL', ?)"),
      {name.toUpper(), Now(), kDefaultCompatibilityLevel, collation});
}

void EmbeddedServer::RemoveDatabase(const QString& name) {
  Master().Execute(QStringLiteral("DELETE FROM sysdatabases WHERE name = ?"), {name});
  const QString file = DatabaseFile(name);
  for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) QFile::remove(file + suffix);
  for (const QString& side : RestoreSideFiles(file)) QFile::remove(side);
}

void EmbeddedServer::SetCompatibilityLevel(const QString& name, int level) {
  Master().Execute(QStringLiteral("UPDATE sysdatabases SET cmptlevel = ? WHERE dbid = ?"), {level, DatabaseId(name)});
}

void EmbeddedServer::SetRecoveryModel(const QString& name, const QString& model) {
  Master().Execute(QStringLiteral("UPDATE sysdatabases SET recovery_model_desc = ? WHERE dbid = ?"),
                   {model, DatabaseId(name)});
}

void EmbeddedServer::SetCollation(const QString& name, const QString& collation) {
  Master().Execute(QStringLiteral("UPDATE sysdatabases SET collation_name = ? WHERE dbid = ?"),
                   {collation, DatabaseId(name)});
}

std::unique_ptr<ServerSession> EmbeddedServer::OpenSession(const SessionInfo& info) {
  const int dbid = DatabaseId(info.database);
  const ProcessIdentity process = ProcessIdentity::Current();
  Connection& master = Master();
  WriteTransaction transaction(master);
  RefuseWhileRestoring(info.database, dbid);
  // Rows of ended processes go first, so their numbers can be reused.
  master.Execute(QStringLiteral("DELETE FROM sessions WHERE NOT zem_process_alive(hostprocess, process_started)"));
  const int spid = std::max(
      kFirstUserSpid,
      master.QueryRows(QStringLiteral("SELECT ifnull(max(spid), 0) + 1 FROM sessions")).rows[0][0].toInt());
  master.Execute(QStringLiteral("INSERT INTO sessions VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {spid, dbid, QString::number(process.pid), process.started, info.ntUserName, info.hostName,
                  info.programName, info.login, Now()});
  transaction.Commit();
  return std::unique_ptr<ServerSession>(new ServerSession(*this, spid, info.database));
}

void EmbeddedServer::MarkRestoring(int dbid, bool underWay) {
  const ProcessIdentity process = ProcessIdentity::Current();
  if (underWay)
    Master().Execute(QStringLiteral("INSERT OR REPLACE INTO restores VALUES (?, ?, ?)"),
                     {dbid, QString::number(process.pid), process.started});
  else
    Master().Execute(QStringLiteral("DELETE FROM restores WHERE dbid = ?"), {dbid});
}

bool EmbeddedServer::Restoring(int dbid) const {
  return Master()
             .QueryRows(QStringLiteral("SELECT count(*) FROM restores WHERE dbid = ? AND "
                                       "zem_process_alive(hostprocess, process_started)"),
                        {dbid})
             .rows[0][0]
             .toInt() > 0;
}

void EmbeddedServer::RefuseWhileRestoring(const QString& database, int dbid) const {
  // A restore cut short is finished first, or keeps everyone off.
  if (Restoring(dbid) || !FinishInterruptedRestore(DatabaseFile(database)))
    throw SqlError(QStringLiteral("Database '%1' cannot be opened. It is in the middle of a restore.").arg(database));
}

int EmbeddedServer::OtherSessions(const QString& database, int spid) const {
  return Master()
      .QueryRows(QStringLiteral("SELECT (SELECT count(*) FROM sysprocesses P JOIN sysdatabases D ON D.dbid = P.dbid "
                                "WHERE D.name = ?1 AND P.spid <> ?2) + (SELECT count(*) FROM held_databases H "
                                "JOIN sysdatabases D ON D.dbid = H.dbid WHERE D.name = ?1 AND "
                                "zem_process_alive(H.hostprocess, H.process_started))"),
                 {database, spid})
      .rows[0][0]
      .toInt();
}

void EmbeddedServer::HoldDatabase(const QString& database, const QString& schema, const QString& holder) {
  const ProcessIdentity process = ProcessIdentity::Current();
  Connection& master = Master();
  WriteTransaction transaction(master);
  const std::optional<DatabaseInfo> info = Database(database);
  if (!info) return;  // a file the server does not list holds nothing of it
  RefuseWhileRestoring(info->name, info->dbid);
  master.Execute(QStringLiteral("DELETE FROM held_databases WHERE NOT zem_process_alive(hostprocess, process_started)"));
  master.Execute(QStringLiteral("INSERT OR REPLACE INTO held_databases VALUES (?, ?, ?, ?, ?)"),
                 {info->dbid, schema, holder, QString::number(process.pid), process.started});
  transaction.Commit();
}

void EmbeddedServer::ReleaseDatabase(const QString& database, const QString& holder) {
  const ProcessIdentity process = ProcessIdentity::Current();
  Master().Execute(QStringLiteral("DELETE FROM held_databases WHERE holder = ? AND hostprocess = ? AND "
                                  "process_started = ? AND dbid IN (SELECT dbid FROM sysdatabases WHERE name = ?)"),
                   {holder, QString::number(process.pid), process.started, database});
}

void EmbeddedServer::ReleaseIdleHolds(const QString& database) {
  const ProcessIdentity process = ProcessIdentity::Current();
  const SqlRows holds = Master().QueryRows(
      QStringLiteral("SELECT H.holder, H.schema_name FROM held_databases H JOIN sysdatabases D ON D.dbid = H.dbid "
                     "WHERE D.name = ? AND H.hostprocess = ? AND H.process_started = ?"),
      {database, QString::number(process.pid), process.started});
  for (const QVariantList& hold : holds.rows) {
    const QString holder = hold[0].toString();
    // A connection closed since has let it go with its attachments.
    if (!ConnectionIsOpen(holder)) {
      ReleaseDatabase(database, holder);
      continue;
    }
    OpenConnection(holder)->Attached().Release(hold[1].toString());
  }
}

bool EmbeddedServer::EndSession(int spid) {
  if (Master().QueryRows(QStringLiteral("SELECT count(*) FROM sysprocesses WHERE spid = ?"), {spid}).rows[0][0].toInt() ==
      0)
    return false;
  Master().Execute(QStringLiteral("DELETE FROM sessions WHERE spid = ?"), {spid});
  return true;
}

void EmbeddedServer::LogLine(const QString& processInfo, const QString& text) {
  Master().Execute(QStringLiteral("INSERT INTO errorlog VALUES (?, ?, ?)"), {Now(), processInfo, text});
}

SqlRows EmbeddedServer::ReadLog(const QStringList& searched, bool newestFirst) const {
  QString sql = QStringLiteral("SELECT LogDate, ProcessInfo, Text FROM errorlog WHERE 1 = 1");
  QVariantList parameters;
  for (const QString& text : searched) {
    sql += QStringLiteral(" AND instr(lower(Text), lower(?)) > 0");
    parameters << text;
  }
  sql += newestFirst ? QStringLiteral(" ORDER BY rowid DESC") : QStringLiteral(" ORDER BY rowid");
  return Master().QueryRows(sql, parameters);
}

void HoldAttachedDatabases(Connection& connection) {
  connection.Attached().SetObserver(
      [holder = connection.FileName()](const QString& schema, const QString& file, bool attached) {
        const QFileInfo info(file);
        const QString folder = info.absolutePath();
        if (!ServerFiles::IsServerFolder(folder) ||
            info.fileName() == QFileInfo(ServerFiles::MasterFile(folder)).fileName())
          return;
        EmbeddedServer server(folder);
        const QString database = info.completeBaseName().toUpper();
        if (attached) server.HoldDatabase(database, schema, holder);
        else server.ReleaseDatabase(database, holder);
      });
}
