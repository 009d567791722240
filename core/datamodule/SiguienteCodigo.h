#pragma once

#include <QtGlobal>

class Table;

// The next free code of a master: the highest code stored in the field that
// follows the leading key fields, among the records that share the current
// record's leading key values, plus the step; the step alone when none is
// found or the statement fails. Bounds of -1 leave that side open. Of a
// text code field only codes made of digits count.
qint64 SiguienteCodigo(Table& tabla, qint64 incremento = 1, qint64 desde = -1, qint64 hasta = -1);
