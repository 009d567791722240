#pragma once

// One ODBC handle (environment, connection or statement), freed when it
// goes out of scope. A handle's parent must outlive it.
class OdbcHandle {
 public:
  // type is SQL_HANDLE_ENV, SQL_HANDLE_DBC or SQL_HANDLE_STMT; an
  // environment has no parent and speaks ODBC 3. Raises EDatabaseError.
  OdbcHandle(short type, void* parent);
  ~OdbcHandle();
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;

  void* Get() const { return handle_; }
  short Type() const { return type_; }

 private:
  short type_;
  void* handle_ = nullptr;
};
