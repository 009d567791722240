#include "core/services/RutinasBusqueda.h"

namespace {

RutinasBusqueda& instaladas() {
  static RutinasBusqueda rutinas;
  return rutinas;
}

}  // namespace

void InstalarRutinasBusqueda(RutinasBusqueda rutinas) { instaladas() = std::move(rutinas); }

const RutinasBusqueda& Busquedas() { return instaladas(); }

Variant BuscarDato(const QString& tabla, int indice) {
  return instaladas().BuscarDato ? instaladas().BuscarDato(tabla, indice) : Variant::Null();
}

Variant BuscarDatoFiltrado(const QString& tabla, int indice, const QString& condicion) {
  return instaladas().BuscarDatoFiltrado ? instaladas().BuscarDatoFiltrado(tabla, indice, condicion) : Variant::Null();
}

Variant BuscarDatoPorDefecto(const QString& tabla, int indice, const QString& condicion, const QString& defecto) {
  return instaladas().BuscarDatoPorDefecto ? instaladas().BuscarDatoPorDefecto(tabla, indice, condicion, defecto)
                                           : Variant::Null();
}

Variant BuscarRegistro(Dataset& dataset, int indice) {
  return instaladas().BuscarRegistro ? instaladas().BuscarRegistro(dataset, indice) : Variant::Null();
}
