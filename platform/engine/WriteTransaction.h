#pragma once

class EngineConnection;

// A unit of writes on a connection: a transaction of its own when none is
// running (on SQLite its first statement takes the write lock of the
// connection's file); else a savepoint inside the running one, so the work
// joins the transaction the process has open on the database. What is not
// committed is rolled back when it goes out of scope.
class WriteTransaction {
 public:
  explicit WriteTransaction(EngineConnection& connection);
  ~WriteTransaction();
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;

  void Commit();

 private:
  EngineConnection& connection_;
  bool nested_;
  bool finished_ = false;
};
