#include "platform/data/StoredValue.h"

#include "platform/Exceptions.h"

#include <QRegularExpression>

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

}  // namespace

QVariant FromDateTime(TDateTime value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, millisecond);
  const QString whole = QStringLiteral("%1-%2-%3 %4:%5:%6")
                           .arg(year, 4, 10, QLatin1Char('0'))
                           .arg(month, 2, 10, QLatin1Char('0'))
                           .arg(day, 2, 10, QLatin1Char('0'))
                           .arg(hour, 2, 10, QLatin1Char('0'))
                           .arg(minute, 2, 10, QLatin1Char('0'))
                           .arg(second, 2, 10, QLatin1Char('0'));
  // Only when there are any, so whole seconds still equal whole-second text.
  if (millisecond == 0) return whole;
  return whole + QStringLiteral(".%1").arg(millisecond, 3, 10, QLatin1Char('0'));
}

TDateTime ToDateTime(const QVariant& stored) {
  if (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Double) return stored.toDouble();
  static const QRegularExpression iso(
      QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d{1,3})\d*)?)?)?\s*$)"));
  const QString text = stored.toString();
  const QRegularExpressionMatch match = iso.match(text);
  if (!match.hasMatch()) throw Exception(QStringLiteral("'%1' is not a valid date and time").arg(text));
  const TDateTime date = EncodeDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
  const TDateTime time = EncodeTime(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt(),
                                    match.captured(7).leftJustified(3, u'0').toInt());
  // Before day 0 the time runs the other way, as the day count does.
  return date < 0 ? date - time : date + time;
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
