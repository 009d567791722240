#pragma once

#include "platform/engine/StatementCache.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class EngineDialect;
class EngineStatement;
// The rows a statement answered with its column names; declared beside the
// SQLite connection, which keeps this same shape.
struct SqlRows;

// What a layer above keeps with a connection for as long as it is open.
class ConnectionState {
 public:
  virtual ~ConnectionState() = default;
};

// An open database of whichever engine holds the data, as the layers above
// the connection use it. Engine errors raise EDatabaseError with the
// original engine's texts, whatever the engine.
class EngineConnection {
 public:
  EngineConnection() = default;
  virtual ~EngineConnection() = default;
  EngineConnection(const EngineConnection&) = delete;
  EngineConnection& operator=(const EngineConnection&) = delete;

  // What names the database for locks and bookmarks: the file, or the
  // server and database, the same for every program that opens it.
  virtual QString Identity() const = 0;

  // Runs the statements of a text, the parameters bound in order across
  // them; every result is read out, and a failure in any raises.
  virtual void Execute(const QString& sql, const QVariantList& parameters = {}) = 0;
  // Each statement of a text in turn, prepared once the one before ran.
  virtual void ForEachStatement(const QString& batch, const std::function<void(EngineStatement&)>& run) = 0;
  // The rows of one statement.
  virtual SqlRows QueryRows(const QString& sql, const QVariantList& parameters = {}) = 0;
  // A statement to bind and step. Another statement run on the connection
  // first reads out the rows this one has not yet given.
  // It must not outlive the connection.
  virtual std::unique_ptr<EngineStatement> Prepare(const QString& sql) = 0;
  // A statement run again and again: the connection may keep it prepared
  // between uses (see CachedStatement); the lease tells where it goes back.
  virtual std::unique_ptr<EngineStatement> TakeKept(const QString& sql, StatementCache::Lease& lease);
  virtual void GiveKept(const StatementCache::Lease& lease, std::unique_ptr<EngineStatement> statement);

  virtual bool InTransaction() const = 0;
  virtual void StartTransaction() = 0;
  virtual void Commit() = 0;
  // Tells every rollback listener once the database is back as it was.
  void Rollback();
  // The same without telling them: the work undone is the caller's own.
  void RollbackQuietly() { undoTransaction(); }
  // Called after every Rollback while the returned object lives.
  class RollbackListener;
  [[nodiscard]] std::unique_ptr<RollbackListener> ListenToRollbacks(std::function<void()> listener);

  // Work nobody needs back after the machine stops (a temporary table's
  // creation, rows and removal) commits while an object of this class lives
  // without waiting for the disk to hold it: the file stays whole, only the
  // last of those commits may be missing after a power cut. A transaction
  // running when it starts or ends keeps the setting it began with.
  class ThrowawayCommits;

  // What changes whenever the database's data may have changed, by this
  // program or another (rollbacks and table definitions included): two equal
  // answers mean nothing changed in between. nullopt where the engine
  // cannot tell.
  using DataVersion = std::array<qint64, 4>;
  virtual std::optional<DataVersion> CurrentDataVersion() { return std::nullopt; }
  // Where the running transaction holds the write lock of the connection's
  // own database, so that no other program changes it until it ends: what
  // changes whenever its schema may have changed since (other programs'
  // commits before the lock, this connection's own changes). nullopt where
  // it holds no such lock or the engine cannot tell.
  using SchemaVersion = std::array<quint64, 2>;
  virtual std::optional<SchemaVersion> LockedSchemaVersion() const { return std::nullopt; }
  // The same for its data: two equal answers mean no record of it changed in
  // between (this connection's writes, rollbacks and table definitions
  // included). nullopt where it holds no such lock or the engine cannot tell.
  virtual std::optional<DataVersion> LockedDataVersion() const { return std::nullopt; }

  // How many times the connection compiled a statement against the schema
  // so far (see EngineStatement::CompiledAt).
  virtual quint64 Compilations() const { return 0; }

  virtual bool TableExists(const QString& tableName) = 0;
  virtual QStringList TableNames() = 0;

  // A function of the program's own that the engine calls inside a
  // statement, given its arguments' values, answering 1 or 0: false where
  // the engine calls none (a server). Dropping a name not defined does
  // nothing.
  using RowTest = std::function<bool(const QVariantList& values)>;
  virtual bool DefineTest(const QString& /*name*/, RowTest /*test*/) { return false; }
  virtual void DropTest(const QString& /*name*/) {}

  // How the engine's SQL says what differs between engines.
  virtual const EngineDialect& Dialect() const = 0;

  // A statement left open between calls (a query's answer read as it is
  // visited): before anything else runs on the connection, finish reads its
  // rest and lets it go. One at a time; a new one finishes the one before.
  void HoldOpen(const void* holder, std::function<void()> finish);
  void LetGo(const void* holder);

  // What a layer above keeps with the connection (the SQL road's state);
  // null until it sets one.
  ConnectionState* State() const { return state_.get(); }
  void SetState(std::unique_ptr<ConnectionState> state) { state_ = std::move(state); }

 protected:
  // Whether commits wait for the disk, from the next one outside a
  // transaction on; engines that cannot tell leave them as they are.
  virtual void commitsWaitForDisk(bool /*wait*/) {}
  // Ends the running transaction undoing its work; false when it had
  // changed nothing the listeners should hear of.
  virtual bool undoTransaction() = 0;
  // The database is back as it was before the transaction: every listener
  // hears of it; the first failure of one is raised once all have.
  void tellRollbackListeners();
  // Before a statement runs: the held one reads its rest first.
  void finishHeld() const;
  void forgetState() { state_.reset(); }

 private:
  std::map<int, std::function<void()>> rollbackListeners_;
  int throwawayCommits_ = 0;
  int lastListener_ = 0;
  std::unique_ptr<ConnectionState> state_;
  mutable const void* holder_ = nullptr;
  mutable std::function<void()> finishHeld_;
};

class EngineConnection::ThrowawayCommits {
 public:
  explicit ThrowawayCommits(EngineConnection& connection) : connection_(connection) {
    if (connection_.throwawayCommits_ == 0) connection_.commitsWaitForDisk(false);
    ++connection_.throwawayCommits_;
  }
  ~ThrowawayCommits();
  ThrowawayCommits(const ThrowawayCommits&) = delete;
  ThrowawayCommits& operator=(const ThrowawayCommits&) = delete;

 private:
  EngineConnection& connection_;
};

class EngineConnection::RollbackListener {
 public:
  RollbackListener(EngineConnection& connection, int id) : connection_(connection), id_(id) {}
  ~RollbackListener() { connection_.rollbackListeners_.erase(id_); }
  RollbackListener(const RollbackListener&) = delete;
  RollbackListener& operator=(const RollbackListener&) = delete;

 private:
  EngineConnection& connection_;
  int id_;
};
