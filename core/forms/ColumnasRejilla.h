#pragma once

#include <QString>

class DBGrid;

// Spreads the visible columns from the start column on ("ColumnaInicial:n"
// in the options; 0 without it) over the grid's width, each as wide as its
// field's display width in proportion; the columns before it keep their
// widths. A grid with a column without a field, or whose columns to spread
// weigh nothing, is left as it is.
void AjustarColumnasRejillaOpciones(DBGrid& rejilla, const QString& opciones);
void AjustarColumnasRejilla(DBGrid& rejilla);
