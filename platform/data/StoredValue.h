#pragma once

#include "platform/format/DateTime.h"

#include <QString>
#include <QVariant>

// Dates as SQLite keeps them: ISO text "yyyy-mm-dd hh:nn:ss", with ".zzz"
// when the milliseconds are not zero.
namespace StoredValue {

QVariant FromDateTime(TDateTime value);
// Whether a text is a date and time as FromDateTime writes it.
bool IsWrittenDateTime(QStringView text);
// ISO text with or without its time (a "T" may stand for the blank), or a
// number taken as a day count; raises Exception for anything else.
TDateTime ToDateTime(const QVariant& stored);
// Whether a stored value equals another in what the record holds.
bool Same(const QVariant& a, const QVariant& b);
// The order of two stored values: NULL first, then numbers, texts, bytes.
int Compare(const QVariant& a, const QVariant& b);

}  // namespace StoredValue
