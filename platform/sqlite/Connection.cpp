#include "platform/sqlite/Connection.h"

#include "platform/engine/CachedStatement.h"
#include "platform/engine/EngineDialect.h"
#include "platform/sql/Collation.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/SqlText.h"
#include "platform/sqlite/Statement.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <exception>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr int kDefaultBusyTimeout = 5000;

struct Registry {
  std::vector<ConnectionSettings::Initializer> initializers;
  int busyTimeout = kDefaultBusyTimeout;
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

// Told of every statement as it is prepared: one that changes the schema
// makes the connection's kept statements stale.
int watchSchema(void* cache, int action, const char*, const char*, const char*, const char*) {
  switch (action) {
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_TEMP_INDEX:
    case SQLITE_CREATE_TEMP_TABLE:
    case SQLITE_CREATE_TEMP_TRIGGER:
    case SQLITE_CREATE_TEMP_VIEW:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_CREATE_VIEW:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_TEMP_INDEX:
    case SQLITE_DROP_TEMP_TABLE:
    case SQLITE_DROP_TEMP_TRIGGER:
    case SQLITE_DROP_TEMP_VIEW:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_DROP_VIEW:
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_ALTER_TABLE:
    case SQLITE_CREATE_VTABLE:
    case SQLITE_DROP_VTABLE:
      static_cast<StatementCache*>(cache)->SchemaChanging();
      break;
    default:
      break;
  }
  return SQLITE_OK;
}

std::shared_ptr<Connection> openOf(const QString& key) {
  const auto entry = registry().open.find(key);
  return entry == registry().open.end() ? nullptr : entry->second.lock();
}

}  // namespace

class ConnectionOpener {
 public:
  // name: what SQLite opens, the key's file unless given (a URI).
  static std::shared_ptr<Connection> Open(const QString& key, int flags, const QByteArray& name = {}) {
    if (!QFileInfo(key).absoluteDir().exists())
      throw EDatabaseError(EngineText::PathNotFound, QFileInfo(key).absolutePath());
    sqlite3* db = nullptr;
    // The program uses its connections from one thread only: SQLite need not
    // take the connection's lock on every call.
    const int opened = sqlite3_open_v2(name.isEmpty() ? key.toUtf8().constData() : name.constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    std::shared_ptr<Connection> connection(new Connection(db, key));
    if (opened != SQLITE_OK) RaiseSqliteError(db, opened);
    sqlite3_extended_result_codes(db, 1);
    // A double-quoted name is a name, as on SQL Server, never a text literal
    // standing in for a misspelt column.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_busy_timeout(db, registry().busyTimeout);
    sqlite3_set_authorizer(db, watchSchema, &connection->statements_);
    // Also the rollbacks the engine makes on its own after a failure.
    sqlite3_rollback_hook(db, [](void* rolledBack) { static_cast<Connection*>(rolledBack)->rolledBack(); },
                          connection.get());
    // The indexes of text fields are kept under the system's collations.
    Collation::RegisterWhenNeeded(db);
    return connection;
  }
};

Connection::Connection(sqlite3* db, QString fileName)
    : db_(db), fileName_(std::move(fileName)), attachments_(*this) {}

Connection::~Connection() {
  forgetState();
  statements_.Clear();
  sqlite3_close_v2(db_);
  auto& open = registry().open;
  const auto entry = open.find(fileName_);
  if (entry != open.end() && entry->second.expired()) open.erase(entry);
}

void Connection::ForEachStatement(const QString& batch, const std::function<void(EngineStatement&)>& run) {
  const QByteArray text = batch.toUtf8();
  for (qsizetype offset = 0; offset < text.size();) {
    Statement statement(*this, text, offset);
    run(statement);
  }
}

void Connection::Execute(const QString& sql, const QVariantList& parameters) {
  qsizetype bound = 0;
  ForEachStatement(sql, [&](EngineStatement& statement) {
    for (int i = 1; i <= statement.ParameterCount() && bound < parameters.size(); ++i)
      statement.Bind(i, parameters[bound++]);
    while (statement.Step()) {
    }
  });
}

std::unique_ptr<EngineStatement> Connection::Prepare(const QString& sql) { return std::make_unique<Statement>(*this, sql); }

// A kept statement does not pass through the handle, which lets a held
// statement go first; so it asks for that itself, before it is lent one: a
// held statement that fails to finish would leave it lent for good.
std::unique_ptr<EngineStatement> Connection::TakeKept(const QString& sql, StatementCache::Lease& lease) {
  finishHeld();
  return statements_.Take(sql, lease, [&] { return std::make_unique<Statement>(*this, sql, Statement::Kept); });
}

void Connection::GiveKept(const StatementCache::Lease& lease, std::unique_ptr<EngineStatement> statement) {
  statements_.Give(lease, std::move(statement));
}

const EngineDialect& Connection::Dialect() const { return EngineDialect::Sqlite(); }

// Other connections' commits move the file's data version, this one's own
// writes its change count; neither counts a table created or rolled back.
std::optional<EngineConnection::DataVersion> Connection::CurrentDataVersion() {
  const CachedStatement versions(*this, QStringLiteral("SELECT (SELECT data_version FROM main.pragma_data_version), "
                                                       "(SELECT schema_version FROM main.pragma_schema_version)"));
  if (!versions->Step()) return std::nullopt;
  return DataVersion{versions->Column(0).toLongLong(), versions->Column(1).toLongLong(), sqlite3_total_changes64(db_),
                     rollbacks_};
}

std::optional<EngineConnection::SchemaVersion> Connection::LockedSchemaVersion() const {
  if (pendingBegin_ || sqlite3_txn_state(db_, "main") != SQLITE_TXN_WRITE) return std::nullopt;
  unsigned int dataVersion = 0;  // moves with every other connection's commit seen
  if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &dataVersion) != SQLITE_OK) return std::nullopt;
  return SchemaVersion{dataVersion, statements_.SchemaGeneration()};
}

std::optional<EngineConnection::DataVersion> Connection::LockedDataVersion() const {
  const std::optional<SchemaVersion> schema = LockedSchemaVersion();
  if (!schema) return std::nullopt;
  return DataVersion{static_cast<qint64>((*schema)[0]), static_cast<qint64>((*schema)[1]),
                     sqlite3_total_changes64(db_), rollbacks_};
}

SqlRows Connection::QueryRows(const QString& sql, const QVariantList& parameters) {
  Statement statement(*this, sql);
  for (int i = 0; i < parameters.size(); ++i) statement.Bind(i + 1, parameters[i]);
  SqlRows result;
  for (int column = 0; column < statement.ColumnCount(); ++column) result.columns << statement.ColumnName(column);
  while (statement.Step()) {
    QVariantList row;
    row.reserve(result.columns.size());
    for (int column = 0; column < result.columns.size(); ++column) row << statement.Column(column);
    result.rows << row;
  }
  return result;
}

bool Connection::InTransaction() const { return pendingBegin_ || sqlite3_get_autocommit(db_) == 0; }

// The lock is taken at once when it is free; when another program holds it
// the transaction starts without it, and its first statement waits for it,
// so the empty pairs the system runs when it opens tables never wait.
void Connection::StartTransaction() {
  if (InTransaction()) Execute(QStringLiteral("BEGIN"));  // SQLite's own refusal
  undoneByEngine_ = false;
  applyCommitSafety();
  struct NoWaiting {
    sqlite3* db;
    ~NoWaiting() { sqlite3_busy_timeout(db, ConnectionSettings::BusyTimeout()); }
  } noWaiting{db_};
  sqlite3_busy_timeout(db_, 0);
  pendingBegin_ = true;
  try {
    beginPending();
  } catch (const EDatabaseError& error) {
    if ((error.SqliteCode() & 0xff) == SQLITE_BUSY) return;
    pendingBegin_ = false;
    throw;
  } catch (...) {
    pendingBegin_ = false;
    throw;
  }
}

// BEGIN IMMEDIATE would also lock every attached file (the general database
// among them); a write that changes nothing locks only this one.
void Connection::beginPending() {
  if (!pendingBegin_) return;
  pendingBegin_ = false;
  QString anyTable;
  {
    Statement table(*this, QStringLiteral("SELECT name FROM main.sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                          "'sqlite\\_%' ESCAPE '\\' AND sql NOT LIKE 'CREATE VIRTUAL%' LIMIT 1"));
    if (table.Step()) anyTable = table.Column(0).toString();
  }
  Execute(QStringLiteral("BEGIN"));
  unusedLock_ = true;  // a failing first statement gives the transaction back
  // Its first write creates a table, and waits for the lock as it does; a
  // file opened only to be read has no lock to take.
  if (anyTable.isEmpty() || sqlite3_db_readonly(db_, "main") == 1) return;
  Execute(QStringLiteral("DELETE FROM main.%1 WHERE 0").arg(SqlText::Quoted(anyTable)));
  unusedLock_ = true;
}

void Connection::statementFailed() {
  if (!std::exchange(unusedLock_, false)) return;
  try {
    if (!sqlite3_get_autocommit(db_)) Execute(QStringLiteral("ROLLBACK"));
  } catch (const std::exception&) {
    return;  // the statement's own failure is the one to report
  }
  pendingBegin_ = true;
}

// A transaction with work of its own, that the engine may undo by itself.
bool Connection::holdsWork() const { return !pendingBegin_ && !unusedLock_ && sqlite3_get_autocommit(db_) == 0; }

void Connection::transactionUndone() {
  undoneByEngine_ = true;
  try {
    tellRollbackListeners();
  } catch (const std::exception&) {
    // the failure that undid it is the one to report
  }
}

void Connection::Commit() {
  unusedLock_ = false;
  if (std::exchange(undoneByEngine_, false) && !pendingBegin_ && sqlite3_get_autocommit(db_)) return;
  if (!std::exchange(pendingBegin_, false)) Execute(QStringLiteral("COMMIT"));
  applyCommitSafety();
}

bool Connection::undoTransaction() {
  unusedLock_ = false;
  if (std::exchange(undoneByEngine_, false) && !pendingBegin_ && sqlite3_get_autocommit(db_)) return false;
  if (std::exchange(pendingBegin_, false)) {
    applyCommitSafety();
    return false;
  }
  Execute(QStringLiteral("ROLLBACK"));
  applyCommitSafety();
  return true;
}

// A refused return to waiting is retried before the next transaction; a
// refused leave from it is forgotten.
void Connection::commitsWaitForDisk(bool wait) {
  waitForDisk_ = wait;
  try {
    applyCommitSafety();
  } catch (...) {
    if (!wait) waitForDisk_ = true;
    throw;
  }
}

// In WAL mode NORMAL leaves the flush to the next checkpoint or to a later
// FULL commit, which flushes every frame before its own.
void Connection::applyCommitSafety() {
  if (waitsForDisk_ == waitForDisk_ || InTransaction()) return;
  Execute(waitForDisk_ ? QStringLiteral("PRAGMA main.synchronous = FULL")
                       : QStringLiteral("PRAGMA main.synchronous = NORMAL"));
  waitsForDisk_ = waitForDisk_;
}

bool Connection::TableExists(const QString& tableName) {
  return !QueryRows(QStringLiteral("SELECT 1 FROM main.sqlite_master WHERE type IN ('table','view') AND name = ? "
                                   "COLLATE NOCASE"),
                    {tableName})
              .rows.isEmpty();
}

QStringList Connection::TableNames() {
  QStringList names;
  for (const QVariantList& row : QueryRows(QStringLiteral("SELECT name FROM main.sqlite_master WHERE type = 'table' AND "
                                                          "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"))
                                     .rows)
    names.append(row[0].toString());
  return names;
}

std::shared_ptr<Connection> OpenConnection(const QString& fileName) {
  const QString key = keyOf(fileName);
  if (auto existing = openOf(key)) return existing;
  std::shared_ptr<Connection> connection =
      ConnectionOpener::Open(key, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  connection->Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
  // Registered first, so an initialiser that opens the file finds this one.
  registry().open[key] = connection;
  for (const auto& initializer : registry().initializers) initializer(*connection);
  return connection;
}

bool ConnectionIsOpen(const QString& fileName) { return openOf(keyOf(fileName)) != nullptr; }

std::shared_ptr<Connection> OpenBackupFile(const QString& fileName, FileAccess access, const char* vfs) {
  const QString key = keyOf(fileName);
  if (auto existing = openOf(key)) return existing;
  const bool read = access == FileAccess::Read;
  if (read && !QFileInfo(key).isFile()) throw EDatabaseError(EngineText::PathNotFound, key);
  QByteArrayList parameters;
  // Immutable: the file's own bytes only, never a "-wal" or "-journal" found
  // beside it, and nothing written there.
  if (read) parameters << QByteArrayLiteral("immutable=1");
  if (vfs) parameters << QByteArrayLiteral("vfs=") + QByteArray(vfs).toPercentEncoding();
  const int flags = read ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (parameters.isEmpty()) return ConnectionOpener::Open(key, flags);
  return ConnectionOpener::Open(key, flags | SQLITE_OPEN_URI,
                                QUrl::fromLocalFile(key).toEncoded() + '?' + parameters.join('&'));
}

namespace ConnectionSettings {

void AddInitializer(Initializer initializer) { registry().initializers.push_back(std::move(initializer)); }

void ResetInitializers() { registry().initializers.clear(); }

void SetBusyTimeout(int milliseconds) {
  registry().busyTimeout = milliseconds;
  for (const auto& [key, weak] : registry().open)
    if (auto connection = weak.lock()) sqlite3_busy_timeout(connection->Handle(), milliseconds);
}

int BusyTimeout() { return registry().busyTimeout; }

}  // namespace ConnectionSettings
