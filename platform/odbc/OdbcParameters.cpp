#include "platform/odbc/OdbcParameters.h"

#include <QDateTime>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>

static_assert(sizeof(long) == sizeof(SQLLEN), "indicators are SQLLEN");
static_assert(sizeof(decltype(OdbcParameters::Types::cType)) == sizeof(SQLSMALLINT), "types are SQLSMALLINT");

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

OdbcParameters::Types OdbcParameters::TypesOf(const QVariant& value, OdbcServer server) {
  switch (value.typeId()) {
    case QMetaType::UnknownType:
      return {SQL_C_CHAR, SQL_VARCHAR};
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return {SQL_C_SBIGINT, SQL_BIGINT};
    case QMetaType::Double:
    case QMetaType::Float:
      return {SQL_C_DOUBLE, SQL_DOUBLE};
    case QMetaType::QByteArray:
      return {SQL_C_BINARY,
              static_cast<short>(value.toByteArray().size() > kLongestShortBinary ? SQL_LONGVARBINARY : SQL_VARBINARY)};
    case QMetaType::QDateTime:
    case QMetaType::QDate:
      if (server == OdbcServer::SqlServer) return {SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP};
      return {SQL_C_CHAR, SQL_WVARCHAR};
    default:
      return {SQL_C_CHAR,
              static_cast<short>(value.toString().size() > kLongestShortText ? SQL_WLONGVARCHAR : SQL_WVARCHAR)};
  }
}

namespace {

// As SQLite keeps dates: "yyyy-mm-dd hh:nn:ss", ".zzz" only when not zero.
QString storedDate(const QDateTime& date) {
  return date.toString(date.time().msec() ? u"yyyy-MM-dd HH:mm:ss.zzz" : u"yyyy-MM-dd HH:mm:ss");
}

}  // namespace

void OdbcParameters::BindTo(void* statement, int count, OdbcServer server) {
  buffers_.assign(count, {});
  for (int index = 1; index <= count; ++index) {
    const QVariant value = values_.value(index - 1);
    Buffer& buffer = buffers_[index - 1];
    const Types types = TypesOf(value, server);
    Binding binding{types.cType, types.sqlType};
    SQLSMALLINT digits = 0;
    switch (types.cType) {
      case SQL_C_SBIGINT:
        buffer.integer = value.toLongLong();
        binding = number(buffer.integer, types.cType, types.sqlType, 19);
        break;
      case SQL_C_DOUBLE:
        buffer.real = value.toDouble();
        binding = number(buffer.real, types.cType, types.sqlType, 15);
        break;
      case SQL_C_BINARY:
        buffer.bytes = value.toByteArray();
        binding = bytes(buffer.bytes, types.cType, types.sqlType, buffer.bytes.size());
        break;
      case SQL_C_TYPE_TIMESTAMP: {
        static_assert(sizeof buffer.timestamp == sizeof(SQL_TIMESTAMP_STRUCT));
        const QDateTime date = value.toDateTime();
        buffer.timestamp = {static_cast<short>(date.date().year()), static_cast<unsigned short>(date.date().month()),
                            static_cast<unsigned short>(date.date().day()), static_cast<unsigned short>(date.time().hour()),
                            static_cast<unsigned short>(date.time().minute()),
                            static_cast<unsigned short>(date.time().second()),
                            static_cast<unsigned int>(date.time().msec()) * 1000000u};
        // "yyyy-mm-dd hh:nn:ss.fff": 23 characters, 3 of them the fraction.
        binding = {types.cType, types.sqlType, 23, &buffer.timestamp, sizeof buffer.timestamp};
        digits = 3;
        break;
      }
      default: {
        const QString text =
            value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate ? storedDate(value.toDateTime())
                                                                                          : value.toString();
        buffer.bytes = text.toUtf8();
        binding = bytes(buffer.bytes, types.cType, types.sqlType, text.size());
        break;
      }
    }
    buffer.indicator = value.isValid() ? binding.length : SQL_NULL_DATA;
    CheckOdbc(SQLBindParameter(statement, static_cast<SQLUSMALLINT>(index), SQL_PARAM_INPUT, binding.cType,
                               binding.sqlType, binding.size, digits, binding.data, binding.length,
                               reinterpret_cast<SQLLEN*>(&buffer.indicator)),
              SQL_HANDLE_STMT, statement, server);
  }
}
