#pragma once

#include "platform/StringList.h"
#include "platform/data/Dataset.h"
#include "platform/data/Param.h"

struct SqlRows;

// An SQL statement on a database: Open reads the rows of a SELECT, ExecSQL
// runs statements that return none (several, separated by ";"). The rows of
// a query cannot be edited.
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
  void ReleaseSource() override;
  std::shared_ptr<Connection> SourceConnection() const override { return connection_; }

 private:
  static void inferType(Column& column, int index, const std::vector<Row>& rows);
  static Records answerRecords(const SqlRows& answer);
  QString statementText() const;
  void bindParams(class Statement& statement);

  StringList sql_;
  ::Params params_;
  QString parsedText_;
  int rowsAffected_ = 0;
  std::shared_ptr<Connection> connection_;
};
