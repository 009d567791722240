#include "shell/RejillaIconos.h"

#include <algorithm>

PosicionIcono PosicionDeIcono(int n, QSize areaCliente, int anchoVentana) {
  const int columna = n % 6 == 0 ? 6 : n % 6;
  const int fila = (n - 1) / 6 + 1;
  const int ancho = areaCliente.width() / 6;
  const int alto = areaCliente.height() / 5;
  const int fuente = static_cast<int>(anchoVentana / 450.0 * 8);
  return {QRect(ancho * (columna - 1), alto * (fila - 1), ancho, alto), std::max(1, fuente)};
}
