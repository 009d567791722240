#include "core/datamodule/Genemodu.h"

TModuloDatos* ModuloDatos = nullptr;

namespace {

ObservadorTraza& observadorInstalado() {
  static ObservadorTraza observador;
  return observador;
}

}  // namespace

TModuloDatos::TModuloDatos(QObject* owner) : QObject(owner) { setObjectName(QStringLiteral("ModuloDatos")); }

TModuloDatos::~TModuloDatos() {
  if (ModuloDatos == this) ModuloDatos = nullptr;
}

void InstalarObservadorTraza(ObservadorTraza observador) { observadorInstalado() = std::move(observador); }

void RegistrarTraza(const QString& texto, const QString& detalle, const QVariant& extra) {
  if (observadorInstalado()) observadorInstalado()(texto, detalle, extra);
}
