#pragma once

#include <QPixmap>

// The product's emblem, a square of the given side: the main window's
// background and the about box's first picture.
QPixmap EmblemaProducto(int lado);
// The maker's mark: the about box's picture that leads to the maker's pages.
QPixmap MarcaFabricante(QSize tamano);
