#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <vector>

class EngineConnection;
class EngineStatement;

// The rows of a SELECT, stepped as they are wanted. The statement stays open
// between calls only until something else runs on its connection: then the
// rest is read ahead and the statement let go.
class QueryAnswer {
 public:
  QueryAnswer(std::shared_ptr<EngineConnection> connection, std::unique_ptr<EngineStatement> statement);
  ~QueryAnswer();
  QueryAnswer(const QueryAnswer&) = delete;
  QueryAnswer& operator=(const QueryAnswer&) = delete;

  // Up to count rows more, fewer only at the end; raises what reading them
  // raised, even where it was read ahead.
  std::vector<QList<QVariant>> Next(std::size_t count);
  // Its columns, each its name and declared type (empty for an
  // expression): an engine may tell them only once the statement ran,
  // which this does when it has not yet.
  struct Column {
    QString name;
    QString declaredType;
  };
  const QList<Column>& Columns();

 private:
  bool step(QList<QVariant>& row);
  void describe();
  void readRest();

  std::shared_ptr<EngineConnection> connection_;
  std::unique_ptr<EngineStatement> statement_;
  std::deque<QList<QVariant>> ahead_;
  std::exception_ptr failure_;
  QList<Column> columns_;
  bool described_ = false;
};
