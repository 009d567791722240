#pragma once

#include <QRect>
#include <QSize>

// Place and font size of icon button n (1 to 30) of the 6 x 5 grid in the
// client area; the font follows the window's outer width (8 points at 450
// pixels) and never goes below 1.
struct PosicionIcono {
  QRect rect;
  int tamanoFuente;
};

PosicionIcono PosicionDeIcono(int n, QSize areaCliente, int anchoVentana);
