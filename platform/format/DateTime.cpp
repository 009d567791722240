#include "platform/format/DateTime.h"

#include "platform/Clock.h"
#include "platform/Exceptions.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr qint64 MSecsPerDay = 86400000;
constexpr qint64 JulianDayOfDayZero = 2415019;  // 30/12/1899

// The value split as the system splits it: milliseconds rounded to nearest
// (ties to even) in extended precision, then whole days towards zero and the
// time of day from the magnitude.
struct TimeStamp {
  qint64 days = 0;
  qint64 msecOfDay = 0;
  bool valid = false;
};

TimeStamp ToTimeStamp(TDateTime value) {
  TimeStamp stamp;
  const long double msecs = std::nearbyint(static_cast<long double>(value) * MSecsPerDay);
  if (!std::isfinite(msecs) || std::fabs(msecs) > 1e17L) return stamp;
  const qint64 total = static_cast<qint64>(msecs);
  const qint64 magnitude = std::llabs(total);
  stamp.days = total < 0 ? -(magnitude / MSecsPerDay) : magnitude / MSecsPerDay;
  stamp.msecOfDay = magnitude % MSecsPerDay;
  stamp.valid = true;
  return stamp;
}

QDate DateOf(const TimeStamp& stamp) {
  if (!stamp.valid) return {};
  const QDate date = QDate::fromJulianDay(JulianDayOfDayZero + stamp.days);
  return date.year() >= 1 && date.year() <= 9999 ? date : QDate();
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || !QDate::isValid(year, month, day)) return false;
  value = static_cast<double>(QDate(year, month, day).toJulianDay() - JulianDayOfDayZero);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || millisecond < 0 ||
      millisecond >= 1000)
    return false;
  const qint64 msecs = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  value = static_cast<double>(msecs) / static_cast<double>(MSecsPerDay);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime value = 0;
  if (!TryEncodeDate(year, month, day, value)) throw Exception(QStringLiteral("Invalid argument to date encode"));
  return value;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime value = 0;
  if (!TryEncodeTime(hour, minute, second, millisecond, value))
    throw Exception(QStringLiteral("Invalid argument to time encode"));
  return value;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  const double day = std::trunc(date);
  const double timeOfDay = std::fabs(time - std::trunc(time));
  return day >= 0 ? day + timeOfDay : day - timeOfDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  const QDate date = DateOf(ToTimeStamp(value));
  year = date.isValid() ? date.year() : 0;
  month = date.isValid() ? date.month() : 0;
  day = date.isValid() ? date.day() : 0;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  const qint64 msecs = ToTimeStamp(value).msecOfDay;
  hour = static_cast<int>(msecs / 3600000);
  minute = static_cast<int>(msecs / 60000 % 60);
  second = static_cast<int>(msecs / 1000 % 60);
  millisecond = static_cast<int>(msecs % 1000);
}

int DayOfWeek(TDateTime value) {
  const TimeStamp stamp = ToTimeStamp(value);
  // Day 0 is a Saturday.
  return static_cast<int>(((stamp.days + 6) % 7 + 7) % 7) + 1;
}

TDateTime ToDateTime(const QDateTime& value) {
  if (!value.isValid()) return 0;
  TDateTime date = 0;
  TDateTime time = 0;
  const QDate d = value.date();
  const QTime t = value.time();
  if (!TryEncodeDate(d.year(), d.month(), d.day(), date) ||
      !TryEncodeTime(t.hour(), t.minute(), t.second(), t.msec(), time))
    return 0;
  return ComposeDateTime(date, time);
}

QDateTime FromDateTime(TDateTime value) {
  const TimeStamp stamp = ToTimeStamp(value);
  const QDate date = DateOf(stamp);
  if (!date.isValid()) return {};
  return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(stamp.msecOfDay)));
}

TDateTime Now() { return ToDateTime(ClockSeam::Get().Now()); }

TDateTime Date() { return std::trunc(Now()); }
