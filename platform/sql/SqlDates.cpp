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

}  // namespace

QString IsoDateTime(const QDateTime& value) { return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

std::optional<QDateTime> ParseIsoDateTime(QStringView text) {
  static const QRegularExpression iso(
      QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?)?$)"));
  const QRegularExpressionMatch m = iso.match(text.toString());
  if (!m.hasMatch()) return std::nullopt;
  return Build(Group(m, 1), Group(m, 2), Group(m, 3), Group(m, 4), Group(m, 5), Group(m, 6), Group(m, 7));
}

std::optional<QDateTime> ParseSqlDateLiteral(QStringView text, DateOrder order) {
  static const QRegularExpression literal(
      QStringLiteral(R"(^(\d{2})/(\d{2})/(\d{4})(?: (\d{2}):(\d{2})(?::(\d{2}))?)?$)"));
  const QRegularExpressionMatch m = literal.match(text.toString());
  if (!m.hasMatch()) return std::nullopt;
  const int first = Group(m, 1), second = Group(m, 2);
  const int day = order == DateOrder::DayMonthYear ? first : second;
  const int month = order == DateOrder::DayMonthYear ? second : first;
  return Build(Group(m, 3), month, day, Group(m, 4), Group(m, 5), Group(m, 6), 0);
}

DateOrder DateOrderOf(QStringView sqlDateFormat) {
  return sqlDateFormat.trimmed().compare(u"dd/mm/yyyy", Qt::CaseInsensitive) == 0 ? DateOrder::DayMonthYear
                                                                                   : DateOrder::MonthDayYear;
}
