#include "platform/sql/SqlDates.h"

#include <QRegularExpression>

namespace {

std::optional<QDateTime> Build(int year, int month, int day, int hour, int minute, int second, int ms) {
  const QDate date(year, month, day);
  const QTime time(hour, minute, second, ms);
  if (!date.isValid() || !time.isValid()) return std::nullopt;
  return QDateTime(date, time);
}

int Group(const QRegularExpressionMatch& match, int n) { return match.captured(n).toInt(); }

// Milliseconds from the digits after the point: ".5" is 500.
int Milliseconds(const QString& digits) { return digits.isEmpty() ? 0 : (digits + QStringLiteral("00")).left(3).toInt(); }

const QString kTime = QStringLiteral(R"((?:[ T]+(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?)?)");

}  // namespace

QString IsoDateTime(const QDateTime& value) { return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

QString IsoDateTimeWithMilliseconds(const QDateTime& value) {
  const int ms = value.time().msec();
  return ms == 0 ? IsoDateTime(value) : IsoDateTime(value) + QStringLiteral(".%1").arg(ms, 3, 10, QLatin1Char('0'));
}

std::optional<QDateTime> ParseIsoDateTime(QStringView text) {
  static const QRegularExpression iso(
      QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?)?$)"));
  const QRegularExpressionMatch m = iso.match(text.toString());
  if (!m.hasMatch()) return std::nullopt;
  return Build(Group(m, 1), Group(m, 2), Group(m, 3), Group(m, 4), Group(m, 5), Group(m, 6),
               Milliseconds(m.captured(7)));
}

DateOrder DateOrderOf(QStringView sqlDateFormat) {
  return sqlDateFormat.trimmed().compare(u"dd/mm/yyyy", Qt::CaseInsensitive) == 0 ? DateOrder::DayMonthYear
                                                                                   : DateOrder::MonthDayYear;
}

DateReading ReadSqlDate(QStringView text, DateOrder order) {
  static const QRegularExpression yearFirst(QStringLiteral(R"(^(\d{4})(?:-(\d{1,2})-(\d{1,2})|(\d{2})(\d{2})))") +
                                            kTime + u'$');
  // A time alone is that time of SQL Server's first day.
  static const QRegularExpression timeOnly(QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?$)"));
  static const QRegularExpression dayOrMonthFirst(QStringLiteral(R"(^(\d{1,2})([/.-])(\d{1,2})\2(\d{4}))") + kTime +
                                                  QStringLiteral("$"));
  const QString trimmed = text.trimmed().toString();
  DateReading reading;
  if (const QRegularExpressionMatch m = yearFirst.match(trimmed); m.hasMatch()) {
    const bool separated = m.capturedLength(2) > 0;
    reading.shaped = true;
    reading.date = Build(Group(m, 1), Group(m, separated ? 2 : 4), Group(m, separated ? 3 : 5), Group(m, 6),
                         Group(m, 7), Group(m, 8), Milliseconds(m.captured(9)));
  } else if (const QRegularExpressionMatch d = dayOrMonthFirst.match(trimmed); d.hasMatch()) {
    const int first = Group(d, 1), second = Group(d, 3);
    const bool dayFirst = order == DateOrder::DayMonthYear;
    reading.shaped = true;
    reading.date = Build(Group(d, 4), dayFirst ? second : first, dayFirst ? first : second, Group(d, 5), Group(d, 6),
                         Group(d, 7), Milliseconds(d.captured(8)));
  } else if (const QRegularExpressionMatch t = timeOnly.match(trimmed); t.hasMatch()) {
    reading.shaped = true;
    reading.date = Build(1900, 1, 1, Group(t, 1), Group(t, 2), Group(t, 3), Milliseconds(t.captured(4)));
  }
  return reading;
}
