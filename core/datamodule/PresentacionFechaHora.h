#pragma once

#include <QString>

class Field;

// The entry and display handlers of date and time fields; they read and set
// the field's own text, so they may serve as its OnGetText and OnSetText.

// A typed time without ":" is a whole hour ("9" is 9:00:00); nothing typed
// is midnight.
void CompletarHora(Field& campo, const QString& texto);
// Nothing for a zero date or one on the zero day (1899).
QString MostrarFecha(const Field& campo);
// Nothing for zero; a time on the zero day shows the time alone.
QString MostrarHora(const Field& campo);
