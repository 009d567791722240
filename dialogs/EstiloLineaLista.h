#pragma once

#include <QColor>

class DBGrid;
class QModelIndex;
class QStyleOptionViewItem;

// The system's colours hold red in the low byte.
QColor ColorSistema(int color);
// The info background of read-only grids and fields.
inline const QColor kFondoInformacion = ColorSistema(0xE1FFFF);

// Dresses a cell of the list grid before it is drawn: black text; the
// chosen rows of a multi-select grid and the current row of a read-only grid
// on "Azul Celeste", read-only fields on the info background; then the
// row's "EstiloLinea" (text colour, font style, background, joined by ",").
void VestirCeldaLista(const DBGrid& rejilla, const QModelIndex& celda, QStyleOptionViewItem& opcion);
