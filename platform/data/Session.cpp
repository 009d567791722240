#include "platform/data/Session.h"

#include "platform/ConnectionString.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/data/Database.h"
#include "platform/data/EngineConfigCache.h"
#include "platform/data/LockFile.h"
#include "platform/data/ServerConnections.h"
#include "platform/data/SqlRouting.h"
#include "platform/odbc/SqlServerOdbc.h"
#include "platform/sql/EmbeddedServer.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kAliasSectionPrefix = QStringLiteral("Databases\\");
const QString kParadoxSection = QStringLiteral("DRIVERS\\PARADOX\\INIT");
const QString kPrivateLock = QStringLiteral("PRIVADO.LCK");
constexpr int kMaxSessions = 999;

QString sessionLockName(int number) { return QStringLiteral("SESION%1.LCK").arg(number); }

QString osUserName() {
  if (const passwd* entry = getpwuid(getuid())) return QString::fromLocal8Bit(entry->pw_name);
  return qEnvironmentVariable("USER");
}

bool isSqlServer(const QString& driver) {
  return driver.compare(QLatin1String(Session::kSqlServerDriver), Qt::CaseInsensitive) == 0;
}

// A server name that is a folder is the embedded server; a host, a real one.
bool namesARealServer(const QString& serverName) {
  return !EmbeddedServer::FolderOfServerName(serverName) && SqlServerOdbc::NamesAHost(serverName);
}

std::optional<SqlServerOdbc::Login> realServerLogin(const QString& driver, const StringList& params) {
  if (!isSqlServer(driver)) return std::nullopt;
  SqlServerOdbc::Login login;
  login.server = params.Values(QStringLiteral("SERVER NAME"));
  if (!namesARealServer(login.server)) return std::nullopt;
  login.database = params.Values(QStringLiteral("DATABASE NAME"));
  login.user = params.Values(QStringLiteral("USER NAME"));
  login.password = params.Values(QStringLiteral("PASSWORD"));
  return login;
}

// The server is reached and the login checked; the datasets and the SQL
// routines still run on SQLite connections only.
[[noreturn]] void onRealServer(const SqlServerOdbc::Login& login) {
  ServerConnections::Open(login);
  throw EDatabaseError(EngineText::CapabilityNotSupported,
                       QStringLiteral("Servidor \"%1\": las tablas y las consultas sólo trabajan sobre el servidor "
                                      "incorporado.")
                           .arg(login.server));
}

}  // namespace

Session& Session::Default() {
  static Session session;
  return session;
}

void Session::ResetDefault() {
  Session& session = Default();
  session.configFile_.clear();
  session.sessionAliases_.clear();
  session.netFileDir_.clear();
  session.netUserName_.clear();
  session.sessionLock_.reset();
  session.sessionNumber_ = 0;
  session.privateLock_.reset();
  session.privateDir_.clear();
}

Session::Session() : configCache_(std::make_unique<EngineConfigCache>()) {}
Session::~Session() = default;

QString Session::ConfigFile() const {
  return configFile_.isEmpty() ? configCache_->Find(QDir::currentPath(), QString::fromLatin1(kConfigFile)) : configFile_;
}

std::optional<Session::Alias> Session::findAlias(const QString& name) const {
  if (name.isEmpty()) return std::nullopt;
  if (auto found = sessionAliases_.find(name.toUpper()); found != sessionAliases_.end()) return found.value();
  const IniFile config = configCache_->Read(ConfigFile());
  const QString section = kAliasSectionPrefix + name;
  if (!config.SectionExists(section)) return std::nullopt;
  Alias alias;
  for (const QString& key : config.ReadSection(section)) {
    const QString value = config.ReadString(section, key, QString());
    if (key.compare(u"TYPE", Qt::CaseInsensitive) == 0)
      alias.driver = value;
    else
      alias.params.Add(key + u'=' + value);
  }
  return alias;
}

bool Session::IsAlias(const QString& name) const { return findAlias(name).has_value(); }

QStringList Session::GetAliasNames() const {
  QStringList names;
  for (const QString& section : configCache_->Read(ConfigFile()).ReadSections())
    // An alias's own nodes ("Databases\<alias>\DB OPEN") are no aliases.
    if (section.startsWith(kAliasSectionPrefix, Qt::CaseInsensitive) &&
        !section.mid(kAliasSectionPrefix.size()).contains(u'\\'))
      names.append(section.mid(kAliasSectionPrefix.size()));
  for (auto it = sessionAliases_.begin(); it != sessionAliases_.end(); ++it)
    if (!names.contains(it.key(), Qt::CaseInsensitive)) names.append(it.key());
  return names;
}

QString Session::GetAliasDriverName(const QString& name) const {
  const auto alias = findAlias(name);
  if (!alias) throw EDatabaseError(EngineText::UnknownDatabase, QStringLiteral("Alias: %1").arg(name));
  return alias->driver;
}

StringList Session::GetAliasParams(const QString& name) const {
  const auto alias = findAlias(name);
  if (!alias) throw EDatabaseError(EngineText::UnknownDatabase, QStringLiteral("Alias: %1").arg(name));
  return alias->params;
}

void Session::AddAlias(const QString& name, const QString& driver, const StringList& params) {
  sessionAliases_.insert(name.toUpper(), Alias{driver, params});
}

void Session::AddStandardAlias(const QString& name, const QString& path, const QString& defaultDriver) {
  StringList params;
  params.Add(QStringLiteral("PATH=") + path);
  if (!defaultDriver.isEmpty()) params.Add(QStringLiteral("DEFAULT DRIVER=") + defaultDriver);
  AddAlias(name, QString::fromLatin1(kStandardDriver), params);
}

QString Session::DatabaseFile(const QString& driver, const StringList& params) {
  if (isSqlServer(driver)) {
    // Only the embedded server: its folder in place of the server's name.
    const QString server = params.Values(QStringLiteral("SERVER NAME"));
    const QString name = params.Values(QStringLiteral("DATABASE NAME"));
    const std::optional<QString> folder = EmbeddedServer::FolderOfServerName(server);
    if (!folder || name.isEmpty())
      throw EDatabaseError(EngineText::UnknownDatabase,
                           QStringLiteral("Server \"%1\", database \"%2\"").arg(server, name));
    return ServerFiles::DatabaseFile(*folder, name);
  }
  if (driver.isEmpty() || driver.compare(QLatin1String(kStandardDriver), Qt::CaseInsensitive) == 0)
    return Paths::Join(Paths::Internal(params.Values(QStringLiteral("PATH"))), QString::fromLatin1(kDataFile));
  throw EDatabaseError(EngineText::UnknownDatabase, QStringLiteral("Driver: %1").arg(driver));
}

QString Session::DatabaseFile(const QString& databaseName) const {
  const QString name = databaseName.startsWith(u'?') ? databaseName.mid(1) : databaseName;
  if (const Database* database = FindDatabase(name)) return database->FileName();
  if (IsConnectionString(name)) return DatabaseFile(QLatin1String(kSqlServerDriver), ConnectionStringParams(name));
  return AliasOrFolderFile(name);
}

QString Session::AliasOrFolderFile(const QString& databaseName) const {
  const QString name = databaseName.startsWith(u'?') ? databaseName.mid(1) : databaseName;
  if (const auto alias = findAlias(name)) return DatabaseFile(alias->driver, alias->params);
  // A folder of Paradox tables; the empty name is the current folder.
  if (name.isEmpty() || Paths::HasSeparator(name) || QFileInfo(name).isDir()) {
    const QString folder = name.isEmpty() ? QDir::currentPath() : QDir(Paths::Internal(name)).absolutePath();
    return Paths::Join(folder, QString::fromLatin1(kDataFile));
  }
  throw EDatabaseError(EngineText::UnknownDatabase, QStringLiteral("Alias: %1").arg(name));
}

std::shared_ptr<Connection> Session::OpenDatabase(const QString& databaseName) {
  const QString name = databaseName.startsWith(u'?') ? databaseName.mid(1) : databaseName;
  if (Database* database = FindDatabase(name)) return database->SharedConnection();
  if (IsConnectionString(name)) {
    // The ADO text's own login timeout, application and security go with it.
    if (const SqlServerOdbc::Login login = SqlServerOdbc::LoginOf(name); namesARealServer(login.server))
      onRealServer(login);
    return Connect(QLatin1String(kSqlServerDriver), ConnectionStringParams(name));
  }
  return OpenAliasOrFolder(name);
}

std::shared_ptr<Connection> Session::OpenAliasOrFolder(const QString& name) {
  if (const auto alias = findAlias(name)) return Connect(alias->driver, alias->params);
  return OpenConnection(AliasOrFolderFile(name));
}

std::shared_ptr<Connection> Session::Connect(const QString& driver, const StringList& params) {
  if (const auto login = realServerLogin(driver, params)) onRealServer(*login);
  if (isSqlServer(driver) && SqlRouting::Installed()) {
    const QString file = DatabaseFile(driver, params);  // refuses what is no embedded server
    return SqlRouting::OpenServerDatabase(QFileInfo(file).absolutePath(), params.Values(QStringLiteral("DATABASE NAME")),
                                          params.Values(QStringLiteral("USER NAME")),
                                          params.Values(QStringLiteral("PASSWORD")));
  }
  return OpenConnection(DatabaseFile(driver, params));
}

bool Session::IsConnectionString(const QString& text) {
  return text.contains(QLatin1String("Initial Catalog="), Qt::CaseInsensitive) ||
         text.startsWith(QLatin1String("Provider="), Qt::CaseInsensitive);
}

StringList Session::ConnectionStringParams(const QString& connectionString) {
  static const QList<QPair<QString, QString>> kParams = {{QStringLiteral("Data Source"), QStringLiteral("SERVER NAME")},
                                                         {QStringLiteral("Initial Catalog"), QStringLiteral("DATABASE NAME")},
                                                         {QStringLiteral("User ID"), QStringLiteral("USER NAME")},
                                                         {QStringLiteral("Password"), QStringLiteral("PASSWORD")}};
  StringList params;
  for (const auto& [name, value] : ConnectionString::Pairs(connectionString))
    for (const auto& [adoName, bdeName] : kParams)
      if (name.compare(adoName, Qt::CaseInsensitive) == 0) params.Add(bdeName + u'=' + value);
  return params;
}

Database* Session::FindDatabase(const QString& databaseName) const {
  if (databaseName.isEmpty()) return nullptr;
  for (Database* database : databases_)
    if (database->DatabaseName().compare(databaseName, Qt::CaseInsensitive) == 0) return database;
  return nullptr;
}

void Session::RegisterDatabase(Database* database) { databases_.append(database); }

void Session::UnregisterDatabase(Database* database) { databases_.removeAll(database); }

QString Session::NetFileDir() const {
  if (!netFileDir_.isEmpty()) return netFileDir_;
  const QString configured =
      configCache_->Read(ConfigFile()).ReadString(kParadoxSection, QStringLiteral("NET DIR"), QString());
  return configured.isEmpty() ? QDir::tempPath() : Paths::Internal(configured);
}

QString Session::NetUserName() const { return netUserName_.isEmpty() ? osUserName() : netUserName_; }

QString Session::sessionLockPath(int number) const { return Paths::Join(NetFileDir(), sessionLockName(number)); }

int Session::SessionNumber() {
  if (sessionLock_) return sessionNumber_;
  const QString folder = NetFileDir();
  if (!QFileInfo(folder).isDir()) throw EDatabaseError(EngineText::PathNotFound, folder);
  for (int number = 1; number <= kMaxSessions; ++number) {
    if (auto lock = LockFile::TryAcquire(sessionLockPath(number), NetUserName().toUtf8())) {
      sessionLock_ = std::move(lock);
      sessionNumber_ = number;
      return number;
    }
  }
  throw EDatabaseError(EngineText::DirectoryBusy, folder);
}

QList<Session::User> Session::UserList() const {
  QList<int> numbers;
  const QStringList files = QDir(NetFileDir()).entryList({QStringLiteral("SESION*.LCK")}, QDir::Files);
  for (const QString& file : files) {
    bool isNumber = false;
    const int number = file.mid(6, file.size() - 10).toInt(&isNumber);
    if (isNumber && file == sessionLockName(number)) numbers.append(number);
  }
  std::sort(numbers.begin(), numbers.end());
  QList<User> users;
  for (const int number : numbers) {
    const QString path = sessionLockPath(number);
    const bool mine = sessionLock_ && sessionNumber_ == number;
    if (!mine && !LockFile::IsHeld(path)) continue;
    QFile file(path);
    const QString userName = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    users.append(User{userName, number});
  }
  return users;
}

void Session::SetPrivateDir(const QString& folder) {
  if (folder.isEmpty()) {
    privateLock_.reset();
    privateDir_.clear();
    return;
  }
  const QString path = QDir(Paths::Internal(folder)).absolutePath();
  if (privateLock_ && path == privateDir_) return;
  if (!QFileInfo(path).isDir()) throw EDatabaseError(EngineText::PathNotFound, path);
  auto lock = LockFile::TryAcquire(Paths::Join(path, kPrivateLock), NetUserName().toUtf8());
  if (!lock) throw EDatabaseError(EngineText::DirectoryBusy, path);
  privateLock_ = std::move(lock);
  privateDir_ = path;
}
