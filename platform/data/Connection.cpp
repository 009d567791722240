#include "platform/data/Connection.h"

#include "platform/data/DatabaseError.h"
#include "platform/data/SqlRouting.h"
#include "platform/data/Statement.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <map>
#include <vector>

namespace {

constexpr int kDefaultBusyTimeout = 5000;

struct Registry {
  std::vector<ConnectionSettings::Initializer> initializers;
  int busyTimeout = kDefaultBusyTimeout;
  ConnectionSettings::StatementTranslator translator;
  std::map<QString, std::weak_ptr<Connection>> open;  // by absolute file name
};

// Left alive at exit: connections may outlive other static objects.
Registry& registry() {
  static Registry* instance = new Registry;
  return *instance;
}

QString keyOf(const QString& fileName) {
  const QFileInfo info(fileName);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void check(sqlite3* db, int resultCode) {
  if (resultCode != SQLITE_OK) RaiseSqliteError(db, resultCode);
}

}  // namespace

Connection::Connection(sqlite3* db, QString fileName) : db_(db), fileName_(std::move(fileName)) {}

Connection::~Connection() {
  route_.reset();
  sqlite3_close_v2(db_);
  auto& open = registry().open;
  const auto entry = open.find(fileName_);
  if (entry != open.end() && entry->second.expired()) open.erase(entry);
}

void Connection::Execute(const QString& sql) {
  check(db_, sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr));
}

void Connection::SetRoute(std::unique_ptr<ConnectionRoute> route) { route_ = std::move(route); }

bool Connection::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

void Connection::StartTransaction() { Execute(QStringLiteral("BEGIN")); }

void Connection::Commit() { Execute(QStringLiteral("COMMIT")); }

void Connection::Rollback() { Execute(QStringLiteral("ROLLBACK")); }

bool Connection::TableExists(const QString& tableName) {
  Statement statement(*this, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ? "
                                            "COLLATE NOCASE"));
  statement.Bind(1, tableName);
  return statement.Step();
}

QStringList Connection::TableNames() {
  Statement statement(*this, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                            "'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
  QStringList names;
  while (statement.Step()) names.append(statement.Column(0).toString());
  return names;
}

std::shared_ptr<Connection> OpenConnection(const QString& fileName) {
  Registry& settings = registry();
  const QString key = keyOf(fileName);
  if (auto existing = settings.open[key].lock()) return existing;

  if (!QFileInfo(key).absoluteDir().exists())
    throw EDatabaseError(EngineText::PathNotFound, QFileInfo(key).absolutePath());

  sqlite3* db = nullptr;
  const int opened = sqlite3_open_v2(key.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::shared_ptr<Connection> connection(new Connection(db, key));
  check(db, opened);
  sqlite3_extended_result_codes(db, 1);
  // A double-quoted name is a name, as on SQL Server, never a text literal
  // standing in for a misspelt column.
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_busy_timeout(db, settings.busyTimeout);
  {
    Statement journal(*connection, QStringLiteral("PRAGMA journal_mode=WAL"));
    while (journal.Step()) {
    }
  }
  for (const auto& initializer : settings.initializers) initializer(db);
  settings.open[key] = connection;
  return connection;
}

namespace ConnectionSettings {

void AddInitializer(Initializer initializer) { registry().initializers.push_back(std::move(initializer)); }

void SetBusyTimeout(int milliseconds) {
  registry().busyTimeout = milliseconds;
  for (const auto& [key, weak] : registry().open)
    if (auto connection = weak.lock()) sqlite3_busy_timeout(connection->Handle(), milliseconds);
}

int BusyTimeout() { return registry().busyTimeout; }

void SetStatementTranslator(StatementTranslator translator) { registry().translator = std::move(translator); }

QString TranslateStatement(Connection& connection, const QString& sql) {
  const auto& translator = registry().translator;
  return translator ? translator(connection, sql) : sql;
}

}  // namespace ConnectionSettings
