#pragma once

#include "platform/format/DateTime.h"

#include <QString>

// The number and date formatting of the system, with fixed Spanish settings
// whatever the machine's locale: decimal separator ",", thousands separator
// ".", dates "dd/mm/yyyy", times "hh:nn:ss". Format patterns follow the
// system's own pattern language (FormatFloat sections "#,##0.00;-#,##0.00;0",
// FormatDateTime "dd/mm/yyyy hh:nn:ss").
namespace FormatSettings {
inline constexpr QChar DecimalSeparator = u',';
inline constexpr QChar ThousandSeparator = u'.';
inline constexpr QChar DateSeparator = u'/';
inline constexpr QChar TimeSeparator = u':';
inline constexpr auto ShortDateFormat = "dd/mm/yyyy";
inline constexpr auto LongTimeFormat = "hh:nn:ss";
}  // namespace FormatSettings

QString FormatFloat(const QString& format, double value);
QString FormatDateTime(const QString& format, TDateTime value);

QString FloatToStr(double value);  // general form, up to 15 significant digits
QString IntToStr(qint64 value);
QString DateToStr(TDateTime value);
QString TimeToStr(TDateTime value);
QString DateTimeToStr(TDateTime value);  // the time is left out when it is midnight

// Readings under the same settings. The Try forms report failure; the others
// raise Exception with the system's English texts ("'x' is not a valid
// floating point value", "'x' is not a valid integer value", "'x' is not a
// valid date", "'x' is not a valid time", "'x' is not a valid date and time").
bool TryStrToFloat(const QString& text, double& value);
bool TryStrToInt(const QString& text, int& value);
bool TryStrToInt64(const QString& text, qint64& value);
bool TryStrToDate(const QString& text, TDateTime& value);
bool TryStrToTime(const QString& text, TDateTime& value);
bool TryStrToDateTime(const QString& text, TDateTime& value);
double StrToFloat(const QString& text);
int StrToInt(const QString& text);
int StrToIntDef(const QString& text, int defaultValue);
TDateTime StrToDate(const QString& text);
TDateTime StrToTime(const QString& text);
TDateTime StrToDateTime(const QString& text);
