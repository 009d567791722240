#include "core/forms/ColumnasRejilla.h"

#include "core/helpers/AnchoCampo.h"
#include "core/helpers/Textos.h"
#include "platform/controls/DBGrid.h"

#include <cmath>

namespace {

int columnaInicial(const QString& opciones) {
  const QString marca = QStringLiteral("ColumnaInicial:");
  if (!opciones.contains(marca)) return 0;
  const QString separador = CaracterNoUsado(opciones);
  QString texto = opciones;
  texto.replace(QLatin1Char(','), separador);
  texto.replace(texto.indexOf(marca), marca.size(), separador);
  bool numero = false;
  const int columna = ExtraerElemento(1, texto, separador).trimmed().toInt(&numero);
  return numero ? columna : 0;
}

}  // namespace

void AjustarColumnasRejillaOpciones(DBGrid& rejilla, const QString& opciones) {
  const int disponible = rejilla.width() - (rejilla.ShowIndicator() ? 32 : 20);
  const int inicial = columnaInicial(opciones);
  double total = 0;
  int usado = 0;
  int ultima = -1;
  for (int columna = 0; columna < rejilla.ColumnCount(); ++columna) {
    if (!rejilla.ColumnVisible(columna)) continue;
    ultima = columna;
    if (columna < inicial) {
      total += rejilla.ColumnWidth(columna);
      usado += rejilla.ColumnWidth(columna);
      continue;
    }
    const Field* campo = rejilla.ColumnField(columna);
    if (!campo) return;
    total += AnchoCampo(*campo);
  }
  if (ultima < inicial || total <= 0) return;
  for (int columna = inicial; columna < rejilla.ColumnCount(); ++columna) {
    if (!rejilla.ColumnVisible(columna)) continue;
    const int ancho = static_cast<int>(std::nearbyint(AnchoCampo(*rejilla.ColumnField(columna)) * disponible / total));
    rejilla.SetColumnWidth(columna, ancho);
    usado += ancho + 1;
  }
  int anchoUltima = rejilla.ColumnWidth(ultima);
  if (usado != disponible) anchoUltima += disponible - usado;
  rejilla.SetColumnWidth(ultima, anchoUltima - 1);
}

void AjustarColumnasRejilla(DBGrid& rejilla) { AjustarColumnasRejillaOpciones(rejilla, QString()); }
