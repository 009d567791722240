#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

// Dates as SQLite keeps them for the system: ISO text "yyyy-mm-dd hh:nn:ss".
QString IsoDateTime(const QDateTime& value);

// "yyyy-mm-dd" with an optional " hh:nn[:ss[.zzz]]"; nothing when the text
// is not such a date.
std::optional<QDateTime> ParseIsoDateTime(QStringView text);

// A date written day/month/year or month/day/year (as `FormatoFechaSQL`
// "dd/mm/yyyy" or "mm/dd/yyyy" says), two-digit day and month, four-digit
// year, with an optional " hh:nn" or " hh:nn:ss"; nothing when the text is
// not such a date or names no real day.
enum class DateOrder { DayMonthYear, MonthDayYear };
std::optional<QDateTime> ParseSqlDateLiteral(QStringView text, DateOrder order);

// The order of a `FormatoFechaSQL` pattern: "dd/mm/yyyy" is day first, any
// other month first.
DateOrder DateOrderOf(QStringView sqlDateFormat);
