#pragma once

#include "platform/engine/EngineConnection.h"
#include "platform/engine/StatementCache.h"
#include "platform/odbc/OdbcError.h"
#include "platform/odbc/OdbcHandle.h"

#include <QList>

#include <functional>
#include <optional>

class OdbcStatement;

// A database reached through unixODBC. Texts travel as UTF-8, which the
// SQLite driver speaks and FreeTDS speaks with "ClientCharset=UTF-8". Only
// one statement gives rows at a time (FreeTDS allows no more): before
// another runs, the one giving rows reads the rest of them out.
class OdbcConnection final : public EngineConnection {
 public:
  // Connects with an ODBC connection string, within the login timeout
  // when one is given (0 waits without end); raises EDatabaseError.
  explicit OdbcConnection(const QString& connectionString, std::optional<int> loginTimeoutSeconds = std::nullopt);
  // An open transaction is rolled back.
  ~OdbcConnection() override;

  // The connection string without its password.
  QString Identity() const override { return identity_; }

  // A driver that takes a batch whole runs it so; for one that takes one
  // statement at a time, the batch is split into its statements.
  void Execute(const QString& sql, const QVariantList& parameters = {}) override;
  void ForEachStatement(const QString& batch, const std::function<void(EngineStatement&)>& run) override;
  SqlRows QueryRows(const QString& sql, const QVariantList& parameters = {}) override;
  // The rows of every result of a batch that has columns, in order.
  QList<SqlRows> QueryResults(const QString& sql, const QVariantList& parameters = {});
  std::unique_ptr<EngineStatement> Prepare(const QString& sql) override;
  // Prepared once and kept by their text until a statement of the
  // connection changes the schema.
  std::unique_ptr<EngineStatement> TakeKept(const QString& sql, StatementCache::Lease& lease) override;
  void GiveKept(const StatementCache::Lease& lease, std::unique_ptr<EngineStatement> statement) override;
  int KeptStatementCount() const { return kept_.Size(); }

  // The driver manager writes every call made on this connection to that
  // file (unixODBC's trace): what reaches the driver, as it reaches it.
  void TraceTo(const QString& fileName);

  bool InTransaction() const override { return inTransaction_; }
  void StartTransaction() override;
  void Commit() override;

  // A table or view of that name, whatever its case.
  bool TableExists(const QString& tableName) override;
  // The tables, sorted by name.
  QStringList TableNames() override;

  // SQLite's through its driver, else SQL Server's.
  const EngineDialect& Dialect() const override;

  OdbcServer Server() const { return server_; }

 protected:
  bool undoTransaction() override;

 private:
  friend class OdbcStatement;
  void* handle() const { return connection_.Get(); }
  void statementRuns(OdbcStatement& statement);
  void statementEnded(const OdbcStatement& statement);
  void statementRan();
  void statementFailed();
  void schemaChanging() { kept_.SchemaChanging(); }
  bool describesParameters() const { return describesParameters_; }
  qint64 serverTransactionCount();
  void readOutActive();
  QStringList statementsOf(const QString& batch) const;
  // Runs each statement of a batch, the parameters bound in order across them.
  void forEachStatement(const QString& batch, const QVariantList& parameters,
                        const std::function<void(OdbcStatement&)>& run);
  void endTransaction(short completion);
  void setAutocommit(bool on);
  // The names of the tables of the given kinds ("TABLE,VIEW") that match a pattern.
  QStringList tables(const QString& pattern, const QString& types);

  QString identity_;
  OdbcHandle environment_;
  OdbcHandle connection_;
  OdbcServer server_ = OdbcServer::Other;
  bool takesBatches_ = false;
  bool describesParameters_ = false;
  bool inTransaction_ = false;
  bool transactionWrote_ = false;  // a statement ran in it
  // SQL Server ended it on a failure (a deadlock victim, say); later
  // statements run in a transaction of their own, which Commit must not
  // make look like the whole of it.
  bool transactionLost_ = false;
  OdbcStatement* active_ = nullptr;
  StatementCache kept_;  // last, so its statements go before the connection
};
