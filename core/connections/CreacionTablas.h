#pragma once

#include <QString>

#include <functional>

class Table;

// Creation on the spot of a table the engine reports missing, from the
// structure definitions. The table-creation module installs it; until then
// nothing is created, the result is false and the caller's retry does not
// happen.
using CreacionTabla = std::function<bool(Table& tabla, const QString& definicion, int empresa)>;
// An empty creation restores the default.
void InstalarCreacionTabla(CreacionTabla creacion);
bool CrearTablaSegunDefinicion(Table& tabla, const QString& definicion, int empresa);
// The table's own definition; a "?" database is reached by its name.
bool CrearTablaPorDefecto(Table& tabla);
// The creation the routines that recover from a missing table run: one that
// raises has failed, so the caller reports the failure it recovers from.
bool CrearTablaInexistente(Table& tabla, const QString& definicion, int empresa);
// The same for a caller that only wants the table there: true also when
// another running program made it in the meantime.
bool CrearTablaSiFalta(Table& tabla, const QString& definicion, int empresa);
// Whether the table is there now; false when that cannot be told.
bool ExisteTabla(Table& tabla);
