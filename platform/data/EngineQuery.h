#pragma once

#include "platform/data/Dataset.h"

#include <memory>

class EngineConnection;
class EngineStatement;

// The rows of a SELECT on a connection of any engine, read as they are
// visited and never written. The connection must outlive the open dataset.
class EngineQuery : public Dataset {
  Q_OBJECT

 public:
  explicit EngineQuery(QObject* owner = nullptr);
  ~EngineQuery() override;

  void SetConnection(EngineConnection* connection) { connection_ = connection; }
  const QString& SQLText() const { return sql_; }
  void SetSQLText(const QString& sql) { sql_ = sql; }  // only while closed

 protected:
  Records ReadRecords() override;
  std::vector<Row> ReadMore(std::size_t count) override;
  bool RestartReading() override;
  void ReleaseSource() override;

 private:
  EngineConnection* connection_ = nullptr;
  QString sql_;
  std::unique_ptr<EngineStatement> statement_;
  bool stepped_ = false;  // the statement stands on a row not yet handed over
  qint64 rowsRead_ = 0;
};
