#include "platform/data/StoredValue.h"

#include "platform/Exceptions.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>
#include <optional>

namespace StoredValue {

namespace {

int rank(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::UnknownType:
      return 0;
    case QMetaType::LongLong:
    case QMetaType::Double:
      return 1;
    case QMetaType::QString:
      return 2;
    default:
      return 3;
  }
}

// Digit by digit: a copy writes and reads a date for every record.
void putDigits(QChar*& out, int value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    out[i] = QChar(u'0' + value % 10);
    value /= 10;
  }
  out += width;
}

// The number of the digits at text[from, from + width), or -1.
int digitsAt(QStringView text, qsizetype from, qsizetype width) {
  int value = 0;
  for (qsizetype i = from; i < from + width; ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c - u'0');
  }
  return value;
}

TDateTime combined(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  const TDateTime date = EncodeDate(year, month, day);
  const TDateTime time = EncodeTime(hour, minute, second, millisecond);
  // Before day 0 the time runs the other way, as the day count does.
  return date < 0 ? date - time : date + time;
}

// "yyyy-mm-dd hh:mm:ss", with ".zzz" or without, as FromDateTime writes it.
std::optional<TDateTime> asWritten(QStringView text) {
  if (text.size() != 19 && text.size() != 23) return std::nullopt;
  if (text[4] != u'-' || text[7] != u'-' || (text[10] != u' ' && text[10] != u'T') || text[13] != u':' ||
      text[16] != u':' || (text.size() == 23 && text[19] != u'.'))
    return std::nullopt;
  const int parts[] = {digitsAt(text, 0, 4),  digitsAt(text, 5, 2),  digitsAt(text, 8, 2), digitsAt(text, 11, 2),
                       digitsAt(text, 14, 2), digitsAt(text, 17, 2), text.size() == 23 ? digitsAt(text, 20, 3) : 0};
  if (std::any_of(std::begin(parts), std::end(parts), [](int part) { return part < 0; })) return std::nullopt;
  return combined(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]);
}

}  // namespace

bool IsWrittenDateTime(QStringView text) {
  if ((text.size() != 19 && text.size() != 23) || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' ||
      text[13] != u':' || text[16] != u':' || (text.size() == 23 && text[19] != u'.'))
    return false;
  const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
  const int hour = digitsAt(text, 11, 2), minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2);
  const int millisecond = text.size() == 23 ? digitsAt(text, 20, 3) : 0;
  if (year < 1 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59 || millisecond < 0 || (text.size() == 23 && millisecond == 0))
    return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

QVariant FromDateTime(TDateTime value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, millisecond);
  if (year < 0 || year > 9999) {
    const QString whole = QStringLiteral("%1-%2-%3 %4:%5:%6")
                             .arg(year, 4, 10, QLatin1Char('0'))
                             .arg(month, 2, 10, QLatin1Char('0'))
                             .arg(day, 2, 10, QLatin1Char('0'))
                             .arg(hour, 2, 10, QLatin1Char('0'))
                             .arg(minute, 2, 10, QLatin1Char('0'))
                             .arg(second, 2, 10, QLatin1Char('0'));
    if (millisecond == 0) return whole;
    return whole + QStringLiteral(".%1").arg(millisecond, 3, 10, QLatin1Char('0'));
  }
  // Milliseconds only when there are any, so whole seconds still equal
  // whole-second text.
  QString text(millisecond == 0 ? 19 : 23, Qt::Uninitialized);
  QChar* out = text.data();
  putDigits(out, year, 4);
  *out++ = u'-';
  putDigits(out, month, 2);
  *out++ = u'-';
  putDigits(out, day, 2);
  *out++ = u' ';
  putDigits(out, hour, 2);
  *out++ = u':';
  putDigits(out, minute, 2);
  *out++ = u':';
  putDigits(out, second, 2);
  if (millisecond != 0) {
    *out++ = u'.';
    putDigits(out, millisecond, 3);
  }
  return text;
}

TDateTime ToDateTime(const QVariant& stored) {
  if (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Double) return stored.toDouble();
  const QString text = stored.toString();
  if (const std::optional<TDateTime> written = asWritten(text)) return *written;
  static const QRegularExpression iso(
      QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d{1,3})\d*)?)?)?\s*$)"));
  const QRegularExpressionMatch match = iso.match(text);
  if (!match.hasMatch()) throw Exception(QStringLiteral("'%1' is not a valid date and time").arg(text));
  return combined(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                  match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt(),
                  match.captured(7).leftJustified(3, u'0').toInt());
}

bool Same(const QVariant& a, const QVariant& b) { return rank(a) == rank(b) && Compare(a, b) == 0; }

int Compare(const QVariant& a, const QVariant& b) {
  const int rankA = rank(a), rankB = rank(b);
  if (rankA != rankB) return rankA < rankB ? -1 : 1;
  switch (rankA) {
    case 0:
      return 0;
    case 1: {
      if (a.typeId() == QMetaType::LongLong && b.typeId() == QMetaType::LongLong)
        return a.toLongLong() < b.toLongLong() ? -1 : (a.toLongLong() > b.toLongLong() ? 1 : 0);
      const double x = a.toDouble(), y = b.toDouble();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case 2:
      return a.toString().compare(b.toString());
    default: {
      const QByteArray x = a.toByteArray(), y = b.toByteArray();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
  }
}

}  // namespace StoredValue
