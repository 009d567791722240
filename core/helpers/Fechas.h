#pragma once

#include "platform/format/DateTime.h"

#include <QString>

// A two-digit year in four digits: below 50 in the 2000s, 50 to 99 in the
// 1900s; above 99 it stays.
int AnioCompleto(int anio);
// The text read as a date, a date and time, or a time; 0 when it is none.
TDateTime TextoAFechaHora(const QString& texto);
// The date moved by whole months, its day clipped to the month's length and
// its time kept; 0 when the result is no date.
TDateTime SumarMeses(TDateTime fecha, int meses);
