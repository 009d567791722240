#pragma once

class DBGrid;
class Field;
class QObject;

// Whether the field's value is one a grid column's pick list or a data combo
// box offers; a refused value is warned of. A grid checks only the field of
// its current column; any other control takes every value.
bool ValidarValoresRejilla(QObject* control, Field* campo);
// Whether the value in a grid column is one its pick list offers; a refused
// value is warned of.
bool ValidarValorColumna(const DBGrid& rejilla, int columna);
