#include "printing/barcode/Postal.h"
#include "printing/barcode/Trazador.h"

#include <algorithm>

void DisponerPostNet(const ParametrosCodigoBarras& p, int limite, DibujoCodigoBarras& dibujo) {
  const auto digitos = DigitosPostNet(p.texto, limite);
  if (!digitos) return;
  // 22 bars an inch, half bar and half space; full bars 1/8 inch, half 1/20.
  const int paso = std::max(2, (p.resolucionX + 11) / 22);
  const int barra = paso / 2;
  const int espacio = paso - barra;
  const int completa = std::max(1, (p.resolucionY + 4) / 8);
  const int media = std::max(1, (p.resolucionY + 10) / 20);
  if (p.superficiePropia) dibujo.tamanoPropio = QSize((5 * int(digitos->size()) + 2) * paso + 4, p.alto);
  const std::vector<bool> barras = BarrasPostNet(*digitos);
  Trazador trazador(dibujo, p.origen);
  for (size_t i = 0; i < barras.size(); ++i) {
    if (barras[i])
      trazador.Barra(barra, completa);
    else
      trazador.Barra(barra, media, completa - media);
    if (i + 1 < barras.size()) trazador.Espacio(espacio, completa);
  }
}

void DisponerFim(const ParametrosCodigoBarras& p, QChar letra, DibujoCodigoBarras& dibujo) {
  const auto posiciones = PosicionesFim(letra);
  if (!posiciones) return;
  const int r = p.resolucionX;
  const int unidad = std::max(1, (r + 16) / 32);
  QPoint origen = p.origen;
  // Two inches and 18/32 inch from the target's right edge.
  if (p.autoPosition && !p.superficiePropia) origen = QPoint(p.anchoDestino - 2 * r - 18 * (r / 32) - 2, 1);
  if (p.superficiePropia) dibujo.tamanoPropio = QSize(18 * unidad, p.alto);
  Trazador trazador(dibujo, origen);
  for (bool barra : *posiciones) {
    trazador.Elemento(barra, unidad, p.alto);
    trazador.Espacio(unidad, p.alto);
  }
}
