#pragma once

#include <QIcon>

// Picture n (64 x 64) of the icon buttons: 1 to 30 one per button, 0 the
// picture of a disabled entry.
QIcon ImagenModulo(int n);
