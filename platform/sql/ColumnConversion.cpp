#include "platform/sql/ColumnConversion.h"

#include "platform/sql/SqlTokenizer.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

bool IsText(const QVariant& value) { return value.typeId() == QMetaType::QString; }
bool IsWhole(const QVariant& value) { return value.typeId() == QMetaType::LongLong; }

ColumnValue Refused(const QString& error) { return {QVariant(), error}; }

QString NumberText(const QVariant& value) {
  return IsWhole(value) ? QString::number(value.toLongLong()) : QString::number(value.toDouble(), 'g', 15);
}

struct IntegerRange {
  QStringView name;
  qint64 low, high;
  QStringView storage;  // how SQL Server names it when a text overflows it
};
constexpr IntegerRange kIntegers[] = {
    {u"TINYINT", 0, 255, u"INT1"},
    {u"SMALLINT", -32768, 32767, u"INT2"},
    {u"INT", std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), u"int"},
    {u"INTEGER", std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), u"int"},
    {u"BIGINT", std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(), u"bigint"},
};

QString ConversionFailed(const QString& text, const SqlType& type) {
  return QStringLiteral("Conversion failed when converting the varchar value '%1' to data type %2.")
      .arg(text, type.ErrorName());
}

ColumnValue ToBit(const QVariant& value, const SqlType& type) {
  if (!IsText(value)) return {qint64(value.toDouble() != 0), {}};
  const QString text = value.toString().trimmed();
  if (text.compare(u"TRUE", Qt::CaseInsensitive) == 0) return {qint64(1), {}};
  if (text.compare(u"FALSE", Qt::CaseInsensitive) == 0 || text.isEmpty()) return {qint64(0), {}};
  bool ok = false;
  const double number = text.toDouble(&ok);
  if (!ok) return Refused(ConversionFailed(value.toString(), type));
  return {qint64(number != 0), {}};
}

ColumnValue ToInteger(const QVariant& value, const SqlType& type) {
  const IntegerRange* range = nullptr;
  for (const IntegerRange& row : kIntegers)
    if (type.name == row.name) range = &row;
  auto overflow = [&] {
    return QStringLiteral("Arithmetic overflow error converting expression to data type %1.").arg(type.ErrorName());
  };
  if (IsText(value)) {
    static const QRegularExpression integer(QStringLiteral(R"(^[+-]?\d+$)"));
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) return {qint64(0), {}};
    if (!integer.match(text).hasMatch()) return Refused(ConversionFailed(value.toString(), type));
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok || number < range->low || number > range->high) {
      if (range->storage == u"bigint") return Refused(QStringLiteral("Error converting data type varchar to bigint."));
      return Refused(QStringLiteral("The conversion of the varchar value '%1' overflowed an %2 column.%3")
                         .arg(value.toString(), range->storage,
                              range->storage.startsWith(u"INT") ? u" Use a larger integer column."_qs : QString()));
    }
    return {number, {}};
  }
  if (IsWhole(value)) {
    const qint64 number = value.toLongLong();
    if (number >= range->low && number <= range->high) return {number, {}};
    // An int that a smaller type cannot hold; anything wider is an expression.
    if (number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<qint32>::max())
      return Refused(QStringLiteral("Arithmetic overflow error for data type %1, value = %2.")
                         .arg(type.ErrorName()).arg(number));
    return Refused(overflow());
  }
  const double number = std::trunc(value.toDouble());
  if (!(number >= double(range->low) && number <= double(range->high))) return Refused(overflow());
  return {qint64(number), {}};
}

// DECIMAL(p, s), MONEY and SMALLMONEY: rounded to the scale, the whole part
// within the precision. Doubles are read back at 15 digits first so that
// 1.005 rounds as the decimal it was written as.
ColumnValue ToExact(const QVariant& value, const SqlType& type) {
  const bool money = type.name.endsWith(u"MONEY");
  const int scale = money ? 4 : type.scale.value_or(0);
  const int precision = money ? (type.name == u"SMALLMONEY" ? 10 : 19) : type.length.value_or(18);
  double number = 0;
  QString source = QStringLiteral("numeric");
  if (IsText(value)) {
    bool ok = false;
    const QString text = value.toString().trimmed();
    number = text.toDouble(&ok);
    if (money && text.isEmpty()) ok = true;
    if (!ok || text.contains(u'e', Qt::CaseInsensitive))
      return Refused(QStringLiteral("Error converting data type varchar to %1.").arg(type.ErrorName()));
    source = QStringLiteral("varchar");
  } else {
    number = value.toDouble();
    if (IsWhole(value)) source = QStringLiteral("int");
  }
  const double scaled = QString::number(number * std::pow(10.0, scale), 'g', 15).toDouble();
  const double rounded = std::round(scaled);
  if (!(std::abs(rounded) < std::pow(10.0, precision)))
    return Refused(money ? QStringLiteral("Arithmetic overflow error converting expression to data type %1.")
                               .arg(type.ErrorName())
                         : QStringLiteral("Arithmetic overflow error converting %1 to data type numeric.").arg(source));
  if (scale == 0) return {qint64(rounded), {}};
  return {rounded / std::pow(10.0, scale), {}};
}

ColumnValue ToFloat(const QVariant& value, const SqlType& type) {
  if (!IsText(value)) return {value.toDouble(), {}};
  const QString text = value.toString().trimmed();
  if (text.isEmpty()) return {0.0, {}};
  bool ok = false;
  const double number = text.toDouble(&ok);
  if (!ok) return Refused(QStringLiteral("Error converting data type varchar to %1.").arg(type.ErrorName()));
  return {number, {}};
}

// Blanks past the length are dropped silently; anything else is refused.
// SQLite keeps VARCHAR(MAX) as VARCHAR: a text type without a length is
// not limited.
ColumnValue ToText(const QVariant& value, const SqlType& type) {
  QString text = IsText(value) ? value.toString() : NumberText(value);
  if (type.name.endsWith(u"TEXT") || !type.length || type.length == SqlType::kMax) return {text, {}};
  const int length = *type.length;
  if (text.size() > length) {
    if (!text.mid(length).trimmed().isEmpty()) return Refused(QStringLiteral("String or binary data would be truncated."));
    text.truncate(length);
  }
  if (type.name.endsWith(u"CHAR") && !type.name.contains(u"VAR")) text = text.leftJustified(length, u' ');
  return {text, {}};
}

// DATETIME counts time in 1/300 s: .998 is .997, .999 the next second.
QDateTime ToTicks(const QDateTime& date) {
  const int ms = date.time().msec();
  const int ticks = (ms * 3 + 5) / 10;
  return date.addMSecs((ticks * 10 + 1) / 3 - ms);
}

// SMALLDATETIME counts minutes: 29.998 s round down, 29.999 s up.
QDateTime ToMinute(const QDateTime& date) {
  const QTime time = date.time();
  const QDateTime minute(date.date(), QTime(time.hour(), time.minute()));
  return time.second() * 1000 + time.msec() >= 29999 ? minute.addSecs(60) : minute;
}

// A number is a count of days from 1900-01-01, as SQL Server reads it.
ColumnValue ToDate(const QVariant& value, const SqlType& type, DateOrder order) {
  std::optional<QDateTime> date;
  const QDateTime base(QDate(1900, 1, 1), QTime(0, 0));
  bool shaped = true;
  if (!IsText(value)) {
    const double days = value.toDouble();
    date = base.addMSecs(qint64(std::llround(days * 86400000.0)));
  } else if (value.toString().trimmed().isEmpty()) {
    date = base;
  } else {
    const DateReading reading = ReadSqlDate(value.toString(), order);
    date = reading.date;
    shaped = reading.shaped;
  }
  const bool small = type.name == u"SMALLDATETIME";
  if (date) *date = small ? ToMinute(*date) : type.name == u"DATETIME" ? ToTicks(*date) : *date;
  if (date && type.name == u"DATETIME" && (date->date().year() < 1753 || date->date().year() > 9999)) date.reset();
  if (date && small && (date->date() < QDate(1900, 1, 1) || date->date() > QDate(2079, 6, 6))) date.reset();
  if (!date) {
    if (!shaped || type.name == u"DATE")
      return Refused(QStringLiteral("Conversion failed when converting date and/or time from character string."));
    return Refused(QStringLiteral("The conversion of a varchar data type to a %1 data type resulted in an "
                                  "out-of-range value.").arg(type.ErrorName()));
  }
  // Date columns keep the data layer's one form, a DATE's at midnight.
  if (type.name == u"DATE") date->setTime(QTime(0, 0));
  return {IsoDateTimeWithMilliseconds(*date), {}};
}

}  // namespace

ColumnValue ToColumnType(const QVariant& value, const SqlType& type, DateOrder order) {
  if (value.isNull() || value.typeId() == QMetaType::QByteArray) return {value, {}};
  if (type.name == u"BIT") return ToBit(value, type);
  if (type.IsInteger()) return ToInteger(value, type);
  if (type.name == u"FLOAT" || type.name == u"REAL") return ToFloat(value, type);
  if (type.IsDecimal()) return ToExact(value, type);
  if (type.IsText()) return ToText(value, type);
  if (type.IsDate()) return ToDate(value, type, order);
  return {value, {}};
}

QString SqlLiteral(const QVariant& value) {
  if (value.isNull()) return QStringLiteral("NULL");
  if (IsText(value)) return QuoteSqlString(value.toString());
  return NumberText(value);
}
