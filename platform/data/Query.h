#pragma once

#include "platform/StringList.h"
#include "platform/data/Dataset.h"
#include "platform/data/Param.h"

#include <memory>

class EngineStatement;
class QueryAnswer;
struct SqlRows;

// An SQL statement on a database: Open reads the rows of a SELECT, ExecSQL
// runs statements that return none (several, separated by ";"). The rows of
// a query cannot be edited. A SELECT's rows are read in blocks as they are
// visited; before anything else runs on the connection, the rest is read.
class Query : public Dataset {
  Q_OBJECT

 public:
  explicit Query(QObject* owner = nullptr);
  ~Query() override;

  // The statement's text, read when the query opens or executes.
  StringList& SQL() { return sql_; }
  const StringList& SQL() const { return sql_; }
  // The ":name" parameters of the current text.
  ::Params& Params();
  Param& ParamByName(const QString& name) { return Params().ParamByName(name); }

  void ExecSQL();             // only while closed
  int RowsAffected() const { return rowsAffected_; }

 protected:
  Records ReadRecords() override;
  std::vector<Row> ReadMore(std::size_t count) override;
  bool RestartReading() override;
  void ReleaseSource() override;
  std::shared_ptr<EngineConnection> SourceConnection() const override { return connection_; }

 private:
  void inferType(Column& column, int index, const std::vector<Row>& rows) const;
  Records answerRecords(const SqlRows& answer) const;
  QString statementText() const;
  // Runs the statement and reads its first rows; the columns when typed.
  Records execute(bool typed, std::size_t firstRows);
  void bindParams(EngineStatement& statement);

  StringList sql_;
  ::Params params_;
  QString parsedText_;
  int rowsAffected_ = 0;
  std::shared_ptr<EngineConnection> connection_;
  std::unique_ptr<QueryAnswer> answer_;
  qint64 rowsRead_ = 0;  // a row's number is its identity: its bookmark survives Refresh
  bool rereadable_ = false;  // a SELECT, that can run again without changing anything
};
