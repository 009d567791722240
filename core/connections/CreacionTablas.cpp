#include "core/connections/CreacionTablas.h"

#include "platform/data/Table.h"

#include <exception>

namespace {

CreacionTabla& creacionInstalada() {
  static CreacionTabla creacion;
  return creacion;
}

}  // namespace

void InstalarCreacionTabla(CreacionTabla creacion) { creacionInstalada() = std::move(creacion); }

bool CrearTablaSegunDefinicion(Table& tabla, const QString& definicion, int empresa) {
  const CreacionTabla& creacion = creacionInstalada();
  return creacion && creacion(tabla, definicion, empresa);
}

bool CrearTablaPorDefecto(Table& tabla) { return CrearTablaSegunDefinicion(tabla, QString(), -1); }

bool CrearTablaInexistente(Table& tabla, const QString& definicion, int empresa) {
  try {
    return CrearTablaSegunDefinicion(tabla, definicion, empresa);
  } catch (const std::exception&) {
    return false;
  }
}

bool CrearTablaSiFalta(Table& tabla, const QString& definicion, int empresa) {
  return CrearTablaInexistente(tabla, definicion, empresa) || ExisteTabla(tabla);
}

bool ExisteTabla(Table& tabla) {
  try {
    return tabla.Exists();
  } catch (const std::exception&) {
    return false;
  }
}
