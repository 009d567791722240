#pragma once

#include "platform/engine/EngineConnection.h"
#include "platform/engine/StatementCache.h"
#include "platform/sqlite/Attachments.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>

struct sqlite3;

// The rows a statement answered, with its column names.
struct SqlRows {
  QStringList columns;
  QList<QVariantList> rows;
};

// One open SQLite file. A process holds at most one connection per file:
// every dataset, database component, SQL routine and the embedded server's
// own work on that file share it, so a transaction started on it covers all
// of them and none of them waits for another's lock.
class Connection final : public EngineConnection {
 public:
  ~Connection() override;

  // For the SQL dialect layer (collations, functions) and every statement:
  // whatever is done with the handle, no statement is left open under it.
  sqlite3* Handle() const {
    finishHeld();
    return db_;
  }
  const QString& FileName() const { return fileName_; }
  QString Identity() const override { return fileName_; }

  // Runs the statements of a text, the parameters bound in order across
  // them; raises EDatabaseError.
  void Execute(const QString& sql, const QVariantList& parameters = {}) override;
  void ForEachStatement(const QString& batch, const std::function<void(EngineStatement&)>& run) override;
  // The rows of one statement.
  SqlRows QueryRows(const QString& sql, const QVariantList& parameters = {}) override;
  std::unique_ptr<EngineStatement> Prepare(const QString& sql) override;
  std::unique_ptr<EngineStatement> TakeKept(const QString& sql, StatementCache::Lease& lease) override;
  void GiveKept(const StatementCache::Lease& lease, std::unique_ptr<EngineStatement> statement) override;
  // How many statements the connection keeps prepared for reuse.
  int CachedStatementCount() const { return statements_.Size(); }

  // A transaction takes the write lock of the connection's own file (never
  // of the files attached to it) at its start, or, when another program
  // holds it then, before its first statement runs; so other programs'
  // writers wait for it and its reads see no older state than its writes.
  bool InTransaction() const override;
  void StartTransaction() override;
  void Commit() override;

  std::optional<DataVersion> CurrentDataVersion() override;
  std::optional<SchemaVersion> LockedSchemaVersion() const override;
  std::optional<DataVersion> LockedDataVersion() const override;
  quint64 Compilations() const override { return compilations_; }

  bool TableExists(const QString& tableName) override;
  QStringList TableNames() override;
  bool DefineTest(const QString& name, RowTest test) override;
  void DropTest(const QString& name) override;
  const EngineDialect& Dialect() const override;

  // The other database files this connection sees under a schema name.
  Attachments& Attached() { return attachments_; }

 protected:
  bool undoTransaction() override;
  void commitsWaitForDisk(bool wait) override;

 private:
  friend class ConnectionOpener;
  friend class Statement;
  Connection(sqlite3* db, QString fileName);
  // Opens the transaction StartTransaction left pending, before a statement.
  void beginPending();
  // After a statement: one that wrote keeps the lock to the end; a failure
  // before any write gives it back, so none is held while the failure is
  // told to the user.
  void statementWrote() { unusedLock_ = false; }
  void statementFailed();
  // The engine undid the transaction by itself after a failure: what was
  // read of it is read again, and the transaction is over for Commit and
  // Rollback too.
  void transactionUndone();
  bool holdsWork() const;
  void rolledBack() { ++rollbacks_; }
  quint64 compiled() { return ++compilations_; }
  // SQLite takes the setting only outside a transaction.
  void applyCommitSafety();

  sqlite3* db_;
  QString fileName_;
  StatementCache statements_;
  Attachments attachments_;
  bool pendingBegin_ = false;
  bool unusedLock_ = false;  // taken by beginPending, nothing written since
  bool undoneByEngine_ = false;  // the running transaction, told at its failure
  qint64 rollbacks_ = 0;  // whole or to a savepoint
  quint64 compilations_ = 0;
  bool waitForDisk_ = true;   // as asked
  bool waitsForDisk_ = true;  // as the engine has it
};

// The one way a database file is opened: the shared connection of the file
// when the process has one, else a new one in WAL mode with the busy
// timeout, on which every registered initialiser then runs. A missing file
// is created; a missing folder raises "Path not found".
std::shared_ptr<Connection> OpenConnection(const QString& fileName);
// Whether the process has the file open as a database.
bool ConnectionIsOpen(const QString& fileName);

// A file that is no database of the system (a backup being written or
// read), opened without the initialisers and shared with nobody; when the
// process has the file open as a database, its shared connection. A file
// only read is read as it is, whatever lies beside it; a missing one raises
// "Path not found". The file is reached through the VFS named, if any.
enum class FileAccess { Read, Write };
std::shared_ptr<Connection> OpenBackupFile(const QString& fileName, FileAccess access, const char* vfs = nullptr);

namespace ConnectionSettings {

using Initializer = std::function<void(Connection&)>;
// Runs on every connection opened from now on, in the order of registration;
// an initialiser that throws makes the opening fail.
void AddInitializer(Initializer initializer);
// Forgets every initialiser, as the process starts (tests put it back so).
void ResetInitializers();

// How long a statement waits for another process's lock before it fails
// with "Record locked by another user"; applies to open connections too.
void SetBusyTimeout(int milliseconds);
int BusyTimeout();

}  // namespace ConnectionSettings
