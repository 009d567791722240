#pragma once

class Field;
class QObject;

// Whether the field's value is one a grid column's pick list or a data combo
// box offers; a refused value is warned of. A grid checks only the field of
// its current column; any other control takes every value.
bool ValidarValoresRejilla(QObject* control, Field* campo);
