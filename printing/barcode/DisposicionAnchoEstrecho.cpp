#include "printing/barcode/Code39.h"
#include "printing/barcode/Entrelazado2de5.h"
#include "printing/barcode/Trazador.h"

#include <algorithm>
#include <functional>

namespace {

struct Pareja {
  int ancho;
  int estrecho;
};

// The largest element pair that fits; when even the largest does, sizes
// scaled to the width by whole units (at least one).
Pareja ElegirPareja(const std::function<bool(Pareja)>& cabe, int divisorEscala, int anchoDibujo) {
  static constexpr Pareja kParejas[] = {{24, 9}, {20, 8}, {16, 6}, {13, 5}, {10, 4}, {8, 3}, {6, 2}, {5, 2}, {3, 1}};
  if (cabe(kParejas[0])) {
    const int unidad = std::max(1, anchoDibujo / divisorEscala);
    return {8 * unidad, 3 * unidad};
  }
  for (Pareja pareja : kParejas)
    if (cabe(pareja)) return pareja;
  return {2, 1};
}

void Elementos(Trazador& trazador, const std::vector<bool>& anchos, Pareja pareja, int alto) {
  for (size_t i = 0; i < anchos.size(); ++i)
    trazador.Elemento(i % 2 == 0, anchos[i] ? pareja.ancho : pareja.estrecho, alto);
}

}  // namespace

void DisponerCode39(const ParametrosCodigoBarras& p, DibujoCodigoBarras& dibujo) {
  const auto elementos = ElementosCode39(p.texto);
  const int n = int(p.texto.size());
  if (n == 0 || !elementos || p.ancho < (n + 2) * 13 + 18) return;
  auto silencio = [&](Pareja q) { return !p.zonaLibre ? 0 : q.ancho < 4 ? 16 : 20; };
  const Pareja pareja = ElegirPareja(
      [&](Pareja q) { return silencio(q) * q.estrecho + (n + 2) * (3 * q.ancho + 7 * q.estrecho) <= p.ancho; },
      (n + 2) * 145 + 9 * (p.zonaLibre ? 0 : 19), p.ancho);
  const int margen = (p.ancho - (3 * pareja.ancho + 7 * pareja.estrecho) * (n + 2) + pareja.estrecho) /
                     (2 * pareja.estrecho);
  Trazador trazador(dibujo, p.origen);
  trazador.Espacio(margen * pareja.estrecho, p.alto);
  Elementos(trazador, *elementos, pareja, p.alto);
  trazador.Espacio((margen - 1) * pareja.estrecho, p.alto);
}

void DisponerEntrelazado(const ParametrosCodigoBarras& p, const QString& digitos, DibujoCodigoBarras& dibujo) {
  const auto elementos = ElementosEntrelazado(digitos);
  const int n = int(digitos.size());
  if (!elementos || p.ancho < 7 * n + 16) return;
  auto silencio = [&](Pareja q) { return !p.zonaLibre ? 0 : q.ancho < 3 ? 12 : q.ancho < 4 ? 20 : 21; };
  const Pareja pareja = ElegirPareja(
      [&](Pareja q) {
        return silencio(q) * q.estrecho + n * (2 * q.ancho + 3 * q.estrecho) + 8 * q.estrecho <= p.ancho;
      },
      (n + 2) * 75 + 9 * (p.zonaLibre ? 8 : 29), p.ancho);
  const int margen =
      (p.ancho - (2 * pareja.ancho + 3 * pareja.estrecho) * n - 8 * pareja.estrecho + pareja.estrecho) /
      (2 * pareja.estrecho);
  Trazador trazador(dibujo, p.origen);
  trazador.Espacio(margen * pareja.estrecho, p.alto);
  const int inicio = trazador.X();
  Elementos(trazador, *elementos, pareja, p.alto);
  const int fin = trazador.X();
  trazador.Espacio((margen - 1) * pareja.estrecho, p.alto);
  // Bearer bars along the top and the bottom.
  const int grueso = 2 * pareja.estrecho;
  for (int y : {p.origen.y(), p.origen.y() + p.alto - grueso})
    dibujo.trazos.push_back({TrazoCodigo::Barra, QRect(inicio, y, fin - inicio, grueso)});
}
