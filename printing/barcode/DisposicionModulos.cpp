#include "printing/barcode/Code128.h"
#include "printing/barcode/Ean.h"
#include "printing/barcode/Trazador.h"

#include <algorithm>
#include <cmath>

void DisponerCode128(const ParametrosCodigoBarras& p, DibujoCodigoBarras& dibujo) {
  const auto simbolos = SimbolosCode128(p.texto, p.tipo == TBarCodeType::EAN128);
  if (!simbolos) return;
  const int modulo = std::max(1, int(p.resolucionX * 0.03937 * p.magnificacion));
  int alto = 32 * modulo;
  if (p.tipo == TBarCodeType::EAN128) alto = std::max(alto, int(0.7874 * p.resolucionY));
  const int silencio = p.zonaLibre ? 10 * modulo : 0;
  if (p.superficiePropia)
    dibujo.tamanoPropio = QSize((11 * int(simbolos->size() - 1) + 13) * modulo + 2 * silencio, p.alto);
  Trazador trazador(dibujo, p.origen);
  trazador.Espacio(silencio, alto);
  const std::vector<int> modulos = ModulosCode128(*simbolos);
  for (size_t i = 0; i < modulos.size(); ++i) trazador.Elemento(i % 2 == 0, modulos[i] * modulo, alto);
  trazador.Espacio(silencio, alto);
}

namespace {

// The module of a self-sized EAN symbol: the nominal size times the
// magnification, never under 70% of nominal.
int ModuloEan(const ParametrosCodigoBarras& p, bool ean13) {
  const double r = p.resolucionX;
  const int modulo = ean13 ? int(r * 1.23 * p.magnificacion / 95) : int(r * 0.87 * p.magnificacion / 67);
  const int minimo = ean13 ? int(std::lround(r * 1.22 * 0.7 / 95)) + 1 : int(std::lround(r * 0.86 * 0.7 / 67)) + 1;
  return std::max({1, modulo, minimo});
}

}  // namespace

void DisponerEan(const ParametrosCodigoBarras& p, DibujoCodigoBarras& dibujo) {
  const auto simbolo = CodificarEan(p.texto);
  if (!simbolo) return;
  const bool ean13 = simbolo->Ean13();
  const int anchoModulos = ean13 ? 113 : 81;
  const int inicioBarras = ean13 ? 11 : 7;
  int modulo = 0;
  int altoBarras = 0;
  if (p.autoSizing) {
    modulo = ModuloEan(p, ean13);
    altoBarras = 55 * modulo;
    if (p.superficiePropia) dibujo.tamanoPropio = QSize(anchoModulos * modulo, 67 * modulo);
  } else {
    modulo = p.ancho / anchoModulos;
    if (modulo <= 0) return;
    altoBarras = std::max(0, p.alto - 12 * modulo);
  }
  const int x0 = p.origen.x();
  const int y0 = p.origen.y();
  dibujo.trazos.push_back({TrazoCodigo::Espacio, QRect(x0, y0, anchoModulos * modulo, altoBarras + 12 * modulo)});

  // The digits under the bars: EAN-13's first one in the left quiet zone.
  const QString& d = simbolo->digitos;
  const int izquierda = ean13 ? 6 : 4;
  const int primero = ean13 ? 1 : 0;
  auto texto = [&](int desdeModulo, int modulos, const QString& digitos) {
    const QRect caja(x0 + desdeModulo * modulo, y0 + altoBarras, modulos * modulo, 12 * modulo);
    dibujo.trazos.push_back({TrazoCodigo::Texto, caja, digitos, 14 * modulo});
  };
  if (ean13) texto(0, inicioBarras, d.left(1));
  texto(inicioBarras + 3, 7 * izquierda, d.mid(primero, izquierda));
  texto(inicioBarras + 8 + 7 * izquierda, 7 * izquierda, d.mid(primero + izquierda));

  const std::vector<bool>& modulos = simbolo->modulos;
  for (size_t i = 0; i < modulos.size();) {
    size_t fin = i + 1;
    while (fin < modulos.size() && modulos[fin] == modulos[i] && simbolo->guardas[fin] == simbolo->guardas[i]) ++fin;
    if (modulos[i]) {
      const int alto = simbolo->guardas[i] ? altoBarras + 5 * modulo : altoBarras;
      dibujo.trazos.push_back(
          {TrazoCodigo::Barra, QRect(x0 + (inicioBarras + int(i)) * modulo, y0, int(fin - i) * modulo, alto)});
    }
    i = fin;
  }
}
