#pragma once

#include "platform/engine/EngineConnection.h"

#include <QHash>
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
  QString Identity() const override { return database_; }
  void Execute(const QString& sql, const QVariantList& parameters = {}) override;
  void ForEachStatement(const QString& batch, const std::function<void(EngineStatement&)>& run) override;
  SqlRows QueryRows(const QString& sql, const QVariantList& parameters = {}) override;
  std::unique_ptr<EngineStatement> Prepare(const QString& sql) override;

  bool InTransaction() const override { return false; }
  void StartTransaction() override;
  void Commit() override;

  bool TableExists(const QString& tableName) override;
  QStringList TableNames() override;

  const EngineDialect& Dialect() const override;

  // How the bytes of a whole-table reading's text blob are read, by place.
  enum class BlobText { Utf8, Windows1252 };
  using TextBlobs = QHash<int, BlobText>;

 protected:
  bool undoTransaction() override;

 private:
  QString wholeTableSelect(const QString& table, TextBlobs& textBlobs);

  QString database_;
  QString name_;
};
