#include "platform/odbc/OdbcParameters.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>

static_assert(sizeof(long) == sizeof(SQLLEN), "indicators are SQLLEN");

namespace {

// SQL Server's longest values that are not "max" ones.
constexpr qsizetype kLongestShortText = 4000;
constexpr qsizetype kLongestShortBinary = 8000;

struct Binding {
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLSMALLINT sqlType = SQL_VARCHAR;
  SQLULEN size = 1;
  SQLPOINTER data = nullptr;
  SQLLEN length = 0;
};

template <typename Number>
Binding number(Number& buffer, SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN digits) {
  return {cType, sqlType, digits, &buffer, 0};
}

Binding bytes(QByteArray& buffer, SQLSMALLINT cType, SQLSMALLINT sqlType, qsizetype size) {
  return {cType, sqlType, static_cast<SQLULEN>(std::max<qsizetype>(1, size)), buffer.data(), buffer.size()};
}

}  // namespace

void OdbcParameters::Set(int index, const QVariant& value) {
  if (values_.size() < index) values_.resize(index);
  values_[index - 1] = value;
}

void OdbcParameters::Clear() {
  values_.clear();
  buffers_.clear();
}

void OdbcParameters::BindTo(void* statement, int count, OdbcServer server) {
  buffers_.assign(count, {});
  for (int index = 1; index <= count; ++index) {
    const QVariant value = values_.value(index - 1);
    Buffer& buffer = buffers_[index - 1];
    Binding binding;
    switch (value.typeId()) {
      case QMetaType::UnknownType:
        break;
      case QMetaType::Bool:
      case QMetaType::Int:
      case QMetaType::UInt:
      case QMetaType::LongLong:
      case QMetaType::ULongLong:
        buffer.integer = value.toLongLong();
        binding = number(buffer.integer, SQL_C_SBIGINT, SQL_BIGINT, 19);
        break;
      case QMetaType::Double:
      case QMetaType::Float:
        buffer.real = value.toDouble();
        binding = number(buffer.real, SQL_C_DOUBLE, SQL_DOUBLE, 15);
        break;
      case QMetaType::QByteArray:
        buffer.bytes = value.toByteArray();
        binding = bytes(buffer.bytes, SQL_C_BINARY,
                        buffer.bytes.size() > kLongestShortBinary ? SQL_LONGVARBINARY : SQL_VARBINARY,
                        buffer.bytes.size());
        break;
      default: {
        const QString text = value.toString();
        buffer.bytes = text.toUtf8();
        binding = bytes(buffer.bytes, SQL_C_CHAR, text.size() > kLongestShortText ? SQL_WLONGVARCHAR : SQL_WVARCHAR,
                        text.size());
        break;
      }
    }
    buffer.indicator = value.isValid() ? binding.length : SQL_NULL_DATA;
    CheckOdbc(SQLBindParameter(statement, static_cast<SQLUSMALLINT>(index), SQL_PARAM_INPUT, binding.cType,
                               binding.sqlType, binding.size, 0, binding.data, binding.length,
                               reinterpret_cast<SQLLEN*>(&buffer.indicator)),
              SQL_HANDLE_STMT, statement, server);
  }
}
