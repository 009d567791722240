#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class EngineDialect;
class EngineStatement;
// The rows a statement answered with its column names; declared beside the
// SQLite connection, which keeps this same shape.
struct SqlRows;

// An open database of whichever engine holds the data, as the layers above
// the connection use it. Engine errors raise EDatabaseError with the
// original engine's texts, whatever the engine.
class EngineConnection {
 public:
  virtual ~EngineConnection() = default;

  // Runs the statements of a text, the parameters bound in order across
  // them; every result is read out, and a failure in any raises.
  virtual void Execute(const QString& sql, const QVariantList& parameters = {}) = 0;
  // The rows of one statement.
  virtual SqlRows QueryRows(const QString& sql, const QVariantList& parameters = {}) = 0;
  // A statement to bind and step. Another statement run on the connection
  // first reads out the rows this one has not yet given.
  // It must not outlive the connection.
  virtual std::unique_ptr<EngineStatement> Prepare(const QString& sql) = 0;

  virtual bool InTransaction() const = 0;
  virtual void StartTransaction() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;

  virtual bool TableExists(const QString& tableName) = 0;
  virtual QStringList TableNames() = 0;

  // How the engine's SQL says what differs between engines.
  virtual const EngineDialect& Dialect() const = 0;
};
