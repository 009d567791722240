#pragma once

#include <QString>

class Field;

// A time-of-day field: a date-time field whose name holds "Hora" as written.
bool EsCampoHora(const Field& campo);
// A time field of record copies and key texts: a date-time field whose name
// holds "HORA" in any case. Its value travels as the time text alone.
bool EsCampoHoraRegistro(const Field& campo);
// The text a field gives in record copies and key texts: a time field its
// time text, any other its text; a null field the empty text.
QString TextoCampoRegistro(const Field& campo);
