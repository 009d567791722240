#include "platform/odbc/OdbcParameters.h"

#include "platform/Cp1252.h"

#include <QDateTime>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>

static_assert(sizeof(long) == sizeof(SQLLEN), "indicators are SQLLEN");
static_assert(sizeof(unsigned long) == sizeof(SQLULEN), "sizes are SQLULEN");
static_assert(sizeof(decltype(OdbcParameters::Types::cType)) == sizeof(SQLSMALLINT), "types are SQLSMALLINT");

namespace {

// SQL Server's longest values that are not "max" ones.
constexpr qsizetype kLongestShortText = 4000;
constexpr qsizetype kLongestShortVarchar = 8000;
constexpr qsizetype kLongestShortBinary = 8000;

// "yyyy-mm-dd hh:nn:ss.fff": 23 characters, 3 of them the fraction.
constexpr SQLULEN kTimestampSize = 23;
constexpr SQLSMALLINT kTimestampDigits = 3;

bool isDate(const QVariant& value) {
  return value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate;
}

// As SQLite keeps dates: "yyyy-mm-dd hh:nn:ss", ".zzz" only when not zero.
QString storedDate(const QDateTime& date) {
  return date.toString(date.time().msec() ? u"yyyy-MM-dd HH:mm:ss.zzz" : u"yyyy-MM-dd HH:mm:ss");
}

QString textOf(const QVariant& value) { return isDate(value) ? storedDate(value.toDateTime()) : value.toString(); }

bool isText(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
      return true;
    default:
      return false;
  }
}

// The C type a NULL of a described column is given, one every driver
// converts to that SQL type.
SQLSMALLINT cTypeOf(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return SQL_C_BINARY;
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return SQL_C_SBIGINT;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return SQL_C_DOUBLE;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
      return SQL_C_TYPE_TIMESTAMP;
    default:
      return SQL_C_CHAR;
  }
}

bool isWide(SQLSMALLINT sqlType) {
  return sqlType == SQL_WCHAR || sqlType == SQL_WVARCHAR || sqlType == SQL_WLONGVARCHAR;
}

unsigned long sizeOf(qsizetype length) { return static_cast<unsigned long>(std::max<qsizetype>(1, length)); }

// The size a short value is declared with: one of a few steps up to the
// longest, so that values of near lengths keep one binding (and one plan).
unsigned long declaredSize(qsizetype length, qsizetype longest) {
  for (const qsizetype step : {qsizetype(64), qsizetype(256), qsizetype(1024)})
    if (length <= step) return static_cast<unsigned long>(step);
  return static_cast<unsigned long>(longest);
}

// A text as a text type: its size counted as the server counts it (UTF-16
// units, or bytes, as many as UTF-8 takes, so that no code page of the
// server finds it longer than declared), a "max" type, of the text's own
// size, when the text is longer than the short one takes.
OdbcParameters::Types textAs(SQLSMALLINT sqlType, const QString& text) {
  const bool wide = isWide(sqlType);
  const qsizetype size = wide ? text.size() : text.toUtf8().size();
  const qsizetype longest = wide ? kLongestShortText : kLongestShortVarchar;
  if (sqlType == SQL_LONGVARCHAR || sqlType == SQL_WLONGVARCHAR || size > longest)
    return {SQL_C_CHAR, static_cast<short>(wide ? SQL_WLONGVARCHAR : SQL_LONGVARCHAR), sizeOf(size)};
  return {SQL_C_CHAR, sqlType, declaredSize(size, longest)};
}

}  // namespace

void OdbcParameters::Set(int index, const QVariant& value) {
  if (values_.size() < index) values_.resize(index);
  values_[index - 1] = value;
}

void OdbcParameters::Clear() { values_.clear(); }

bool OdbcParameters::WantsDescriptions() const {
  return std::any_of(values_.begin(), values_.end(),
                     [](const QVariant& value) { return value.isNull() || value.typeId() == QMetaType::QString; });
}

OdbcParameters::Types OdbcParameters::TypesOf(const QVariant& value, OdbcServer server,
                                              const std::optional<Described>& described) {
  const bool null = value.isNull();
  if (described && null)
    return {cTypeOf(described->sqlType), described->sqlType, sizeOf(static_cast<qsizetype>(described->size)),
            described->digits};
  if (described && value.typeId() == QMetaType::QString && isText(described->sqlType))
    return textAs(described->sqlType, value.toString());
  switch (value.typeId()) {
    case QMetaType::UnknownType:
      return {SQL_C_CHAR, SQL_VARCHAR, 1};
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return {SQL_C_SBIGINT, SQL_BIGINT, 19};
    case QMetaType::Double:
    case QMetaType::Float:
      return {SQL_C_DOUBLE, SQL_DOUBLE, 15};
    case QMetaType::QByteArray: {
      const qsizetype length = null ? 0 : value.toByteArray().size();
      if (length > kLongestShortBinary) return {SQL_C_BINARY, SQL_LONGVARBINARY, sizeOf(length)};
      return {SQL_C_BINARY, SQL_VARBINARY, declaredSize(length, kLongestShortBinary)};
    }
    case QMetaType::QDateTime:
    case QMetaType::QDate:
      if (server == OdbcServer::SqlServer)
        return {SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, kTimestampSize, kTimestampDigits};
      return {SQL_C_CHAR, SQL_WVARCHAR, kTimestampSize};
    default: {
      const QString text = null ? QString() : value.toString();
      return textAs(server == OdbcServer::SqlServer && Cp1252::Holds(text) ? SQL_VARCHAR : SQL_WVARCHAR, text);
    }
  }
}

void OdbcParameters::BindTo(void* statement, int count, OdbcServer server, const Descriptions& described) {
  // The driver keeps the buffers' addresses: they must not move.
  if (buffers_.size() != static_cast<std::size_t>(count)) buffers_ = std::vector<Buffer>(count);
  for (int index = 1; index <= count; ++index) {
    const QVariant value = values_.value(index - 1);
    const bool null = value.isNull();
    Buffer& buffer = buffers_[index - 1];
    const Types types = TypesOf(value, server, described.value(index - 1));
    SQLPOINTER data = nullptr;
    SQLLEN length = 0;
    SQLLEN room = 0;
    switch (types.cType) {
      case SQL_C_SBIGINT:
        buffer.integer = null ? 0 : value.toLongLong();
        data = &buffer.integer;
        break;
      case SQL_C_DOUBLE:
        buffer.real = null ? 0 : value.toDouble();
        data = &buffer.real;
        break;
      case SQL_C_TYPE_TIMESTAMP: {
        static_assert(sizeof buffer.timestamp == sizeof(SQL_TIMESTAMP_STRUCT));
        if (!null) {
          const QDateTime date = value.toDateTime();
          buffer.timestamp = {static_cast<short>(date.date().year()), static_cast<unsigned short>(date.date().month()),
                              static_cast<unsigned short>(date.date().day()),
                              static_cast<unsigned short>(date.time().hour()),
                              static_cast<unsigned short>(date.time().minute()),
                              static_cast<unsigned short>(date.time().second()),
                              static_cast<unsigned int>(date.time().msec()) * 1000000u};
        }
        data = &buffer.timestamp;
        length = room = sizeof buffer.timestamp;
        break;
      }
      default: {
        // Into the room the buffer has, so that it stays where it was bound.
        const QByteArray bytes =
            null ? QByteArray() : types.cType == SQL_C_BINARY ? value.toByteArray() : textOf(value).toUtf8();
        buffer.bytes.reserve(null ? 0 : std::max<qsizetype>(bytes.size(), static_cast<qsizetype>(types.size)));
        buffer.bytes.resize(bytes.size());
        std::copy(bytes.begin(), bytes.end(), buffer.bytes.begin());
        data = buffer.bytes.data();
        length = buffer.bytes.size();
        room = buffer.bytes.capacity();
        break;
      }
    }
    buffer.indicator = null ? SQL_NULL_DATA : length;
    if (buffer.bound == types && buffer.boundData == data) continue;
    CheckOdbc(SQLBindParameter(statement, static_cast<SQLUSMALLINT>(index), SQL_PARAM_INPUT, types.cType,
                               types.sqlType, types.size, types.digits, data, room,
                               reinterpret_cast<SQLLEN*>(&buffer.indicator)),
              SQL_HANDLE_STMT, statement, server);
    buffer.bound = types;
    buffer.boundData = data;
  }
}
