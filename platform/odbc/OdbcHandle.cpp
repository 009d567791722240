#include "platform/odbc/OdbcHandle.h"

#include "platform/odbc/OdbcError.h"

#include <sql.h>
#include <sqlext.h>

OdbcHandle::OdbcHandle(short type, void* parent) : type_(type) {
  const SQLRETURN result = SQLAllocHandle(type, parent ? parent : SQL_NULL_HANDLE, &handle_);
  if (!SQL_SUCCEEDED(result)) {
    handle_ = nullptr;
    // The parent's diagnostics tell why a child could not be had.
    const short parentType = type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV;
    RaiseOdbcError(parentType, parent, OdbcServer::Other);
  }
  if (type == SQL_HANDLE_ENV) {
    const SQLRETURN set =
        SQLSetEnvAttr(handle_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(set)) {
      SQLFreeHandle(type, handle_);
      RaiseOdbcError(SQL_HANDLE_ENV, nullptr, OdbcServer::Other);
    }
  }
}

OdbcHandle::~OdbcHandle() {
  if (handle_) SQLFreeHandle(type_, handle_);
}
