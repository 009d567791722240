#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

// Dates as SQLite keeps them for the system: ISO text "yyyy-mm-dd hh:nn:ss".
QString IsoDateTime(const QDateTime& value);
// The same with ".zzz" where there are milliseconds, so that whole seconds
// keep the one form.
QString IsoDateTimeWithMilliseconds(const QDateTime& value);

// "yyyy-mm-dd" with an optional " hh:nn[:ss[.zzz]]"; nothing when the text
// is not such a date.
std::optional<QDateTime> ParseIsoDateTime(QStringView text);

// The order of the day and the month in a date text: `FormatoFechaSQL`
// "dd/mm/yyyy" is day first, any other month first.
enum class DateOrder { DayMonthYear, MonthDayYear };
DateOrder DateOrderOf(QStringView sqlDateFormat);

// A text read as SQL Server reads a date: ISO ("yyyy-mm-dd", "yyyymmdd")
// or day and month in the session's order ("m/d/yyyy", "-" and "." too),
// each with an optional time "hh:nn[:ss[.zzz]]", or a time alone (on
// 1900-01-01, SQL Server's first day). `shaped` tells a text of a
// date's shape naming no real day (out of range) from one that is no date.
struct DateReading {
  std::optional<QDateTime> date;
  bool shaped = false;
};
DateReading ReadSqlDate(QStringView text, DateOrder order);
