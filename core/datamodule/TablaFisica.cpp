#include "core/datamodule/TablaFisica.h"

namespace {

NombreTablaFisicaInstalado& instalado() {
  static NombreTablaFisicaInstalado nombre;
  return nombre;
}

}  // namespace

void InstalarNombreTablaFisica(NombreTablaFisicaInstalado nombre) { instalado() = std::move(nombre); }

QString NombreTablaFisica(const QString& tabla) { return instalado() ? instalado()(tabla) : tabla; }
