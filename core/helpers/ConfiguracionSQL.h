#pragma once

#include <QString>

// How dates are written into SQL statements; start-up sets them from the
// program's configuration.
extern QString FormatoFechaSQL;  // "mm/dd/yyyy"
extern QString FechaNulaSQL;     // the literal of a zero date: "12/30/1899 00:00:00"
