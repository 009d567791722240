#pragma once

#include <QList>
#include <QVariant>

#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <vector>

class Connection;
class Statement;

// The rows of a SELECT, stepped as they are wanted. The statement stays open
// between calls only until something else runs on its connection: then the
// rest is read ahead and the statement let go.
class QueryAnswer {
 public:
  QueryAnswer(std::shared_ptr<Connection> connection, std::unique_ptr<Statement> statement);
  ~QueryAnswer();
  QueryAnswer(const QueryAnswer&) = delete;
  QueryAnswer& operator=(const QueryAnswer&) = delete;

  // Up to count rows more, fewer only at the end; raises what reading them
  // raised, even where it was read ahead.
  std::vector<QList<QVariant>> Next(std::size_t count);

 private:
  bool step(QList<QVariant>& row);
  void readRest();

  std::shared_ptr<Connection> connection_;
  std::unique_ptr<Statement> statement_;
  std::deque<QList<QVariant>> ahead_;
  std::exception_ptr failure_;
};
