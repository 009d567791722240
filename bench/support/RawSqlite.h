#pragma once

#include <QString>

#include <sqlite3.h>

// The baseline every benchmark is measured against: the SQLite C API on the
// same file, with nothing of ours in between.
class RawConnection {
 public:
  explicit RawConnection(const QString& fileName);
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  sqlite3* Handle() const { return db_; }
  // Runs statements that give no rows; aborts the run on failure.
  void Execute(const char* sql) const;

 private:
  sqlite3* db_ = nullptr;
};

class RawStatement {
 public:
  RawStatement(const RawConnection& connection, const char* sql);
  ~RawStatement();
  RawStatement(const RawStatement&) = delete;
  RawStatement& operator=(const RawStatement&) = delete;

  bool Step();  // true while it gives a row
  void Reset();
  void Bind(int index, qint64 value);
  void Bind(int index, double value);
  void Bind(int index, const QString& value);
  // The value of a column of another statement's row, as it is.
  void Bind(int index, const RawStatement& row, int column) {
    sqlite3_bind_value(statement_, index, sqlite3_column_value(row.statement_, column));
  }
  qint64 Int64(int column) const { return sqlite3_column_int64(statement_, column); }
  double Double(int column) const { return sqlite3_column_double(statement_, column); }
  QString Text(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};
