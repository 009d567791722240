#pragma once

#include "platform/engine/EngineConnection.h"

#include <QString>

// A Firebird or Interbase database read through Qt's QIBASE driver and
// Firebird's client library: a server's "host:path", or a file path, which
// the client's embedded engine opens without a server. Only reads: anything
// that would write raises "Table is read only". A whole table's texts of no
// character set are read as Windows-1252, the others as their columns say.
class FirebirdConnection final : public EngineConnection {
 public:
  // Raises EDatabaseError "Unknown database" with the client's text when
  // the database cannot be opened.
  FirebirdConnection(const QString& database, const QString& user, const QString& password);
  ~FirebirdConnection() override;
  FirebirdConnection(const FirebirdConnection&) = delete;
  FirebirdConnection& operator=(const FirebirdConnection&) = delete;

  void Execute(const QString& sql, const QVariantList& parameters = {}) override;
  SqlRows QueryRows(const QString& sql, const QVariantList& parameters = {}) override;
  std::unique_ptr<EngineStatement> Prepare(const QString& sql) override;

  bool InTransaction() const override { return false; }
  void StartTransaction() override;
  void Commit() override;
  void Rollback() override;

  bool TableExists(const QString& tableName) override;
  QStringList TableNames() override;

  const EngineDialect& Dialect() const override;

 private:
  QString wholeTableSelect(const QString& table);

  QString name_;
};
