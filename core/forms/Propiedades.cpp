#include "core/forms/Propiedades.h"

#include "platform/controls/Properties.h"

bool TienePropiedad(const QObject* objeto, const QString& nombre) { return HasProperty(objeto, nombre); }

QVariant LeerPropiedad(const QObject* objeto, const QString& nombre) {
  try {
    if (!HasProperty(objeto, nombre)) return QString();
    return ReadProperty(objeto, nombre);
  } catch (...) {
    return QString();
  }
}

void EscribirPropiedad(QObject* objeto, const QString& nombre, const QVariant& valor) {
  try {
    WriteProperty(objeto, nombre, valor);
  } catch (...) {
    // the routine's callers go on whatever the property made of the value
  }
}
