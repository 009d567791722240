#include "printing/DisenoListado.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kAltoFila = 17;
constexpr int kAltoLineaMemo = 15;

std::vector<int> Listados(const std::vector<int>& marcas, int ultimo) {
  std::vector<int> listados;
  for (int i = 0; i <= ultimo && i < static_cast<int>(marcas.size()); ++i)
    if (marcas[static_cast<size_t>(i)] != kMarcaNoImpreso) listados.push_back(i);
  return listados;
}

}  // namespace

PaginaListado PaginaDelListado(bool apaisado, const QString& papel, int margenIzquierdoImpresora) {
  const bool a4 = papel.isEmpty() || papel == u"A4";
  const int margen = apaisado ? 10 : 5;
  return {margenIzquierdoImpresora != 0 ? margenIzquierdoImpresora : margen, margen,
          apaisado ? (a4 ? 1047 : 1511) : (a4 ? 750 : 1047)};
}

CamposListables CamposDelListado(const QStringList& campos) {
  const bool instrucciones = !campos.isEmpty() && campos.last() == u"InstruccionesListado";
  return {static_cast<int>(campos.size()) - (instrucciones ? 2 : 1), instrucciones};
}

int AnchoColumna(double peso, double totalPesos, int anchoTitulo) {
  if (totalPesos <= 0) return 0;
  const double ancho = std::rint(peso * anchoTitulo / totalPesos);  // the default rounding: halves to even
  return std::isfinite(ancho) ? static_cast<int>(ancho) : 0;
}

std::vector<ColumnaListado> DisenarColumnas(const std::vector<int>& marcas, const std::vector<double>& pesos,
                                            int ultimo, int anchoTitulo, const std::vector<int>& minimos) {
  const std::vector<int> listados = Listados(marcas, ultimo);
  if (listados.size() > kMaximoColumnasListado)
    throw Exception(QStringLiteral("¡El listado no puede tener más de 201 columnas!"));
  const auto peso = [&](int i) { return pesos[static_cast<size_t>(i)]; };
  const auto minimo = [&](int i) { return i < static_cast<int>(minimos.size()) ? minimos[static_cast<size_t>(i)] : 0; };
  // Columns held at their minimum; the free ones share the band's remaining width by weight.
  std::vector<bool> fija(listados.size(), false);
  int libre = anchoTitulo;
  double pesoLibre = 0;
  for (int i : listados) pesoLibre += peso(i);
  int necesario = 0;
  for (int i : listados) necesario += minimo(i) + 2;
  // Each pass can only shrink the free columns' share, so a column fixed stays fixed.
  for (bool cambio = necesario <= anchoTitulo; cambio;) {
    cambio = false;
    const int libreAntes = libre;
    const double pesoAntes = pesoLibre;
    for (size_t k = 0; k < listados.size(); ++k) {
      const int i = listados[k];
      if (fija[k] || minimo(i) <= 0 || AnchoColumna(peso(i), pesoAntes, libreAntes) - 2 >= minimo(i)) continue;
      fija[k] = cambio = true;
      libre -= minimo(i) + 2;
      pesoLibre -= peso(i);
    }
  }
  std::vector<ColumnaListado> columnas;
  int x = 0;
  for (size_t k = 0; k < listados.size(); ++k) {
    const int i = listados[k];
    const int ancho = fija[k] ? minimo(i) + 2 : AnchoColumna(peso(i), pesoLibre, libre);
    columnas.push_back({i, x, std::max(ancho - 2, 0)});
    x += ancho;
  }
  return columnas;
}

FichaListado DisenarFichas(const std::vector<int>& marcas, const std::vector<bool>& esMemo, int ultimo, int columnas,
                           int lineasMemo, int anchoBanda) {
  std::vector<int> listados = Listados(marcas, ultimo);
  if (listados.empty()) listados = Listados(std::vector<int>(marcas.size(), 0), ultimo);
  const int n = static_cast<int>(listados.size());
  const int filas = std::max((n + columnas - 1) / columnas, 1);
  const double anchoFicha = static_cast<double>(anchoBanda) / columnas;
  const int tituloAncho = static_cast<int>(anchoFicha / 3) - 4;
  const int valorAncho = static_cast<int>(anchoFicha * 2 / 3) - 8;
  FichaListado ficha{{}, 0};
  int top = 0;
  int masBajo = kAltoFila;
  for (int k = 0; k < n; ++k) {
    const int campo = listados[static_cast<size_t>(k)];
    const bool memo = esMemo[static_cast<size_t>(campo)];
    top = k % filas == 0 ? kAltoFila : top + kAltoFila;
    const int tituloX = static_cast<int>(anchoFicha * (k / filas)) + 4;
    ficha.celdas.push_back({campo, tituloX, tituloAncho, tituloX + tituloAncho + 4, valorAncho,
                            memo ? lineasMemo * kAltoLineaMemo + 2 : kAltoFila, top});
    if (memo) top += (lineasMemo - 1) * kAltoLineaMemo + 2;
    masBajo = std::max(masBajo, top);
  }
  ficha.altoBanda = masBajo + 32;
  return ficha;
}
