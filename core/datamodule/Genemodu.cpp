#include "core/datamodule/Genemodu.h"

TModuloDatos* ModuloDatos = nullptr;
bool ModuloDatosListo = false;

namespace {

ObservadorTraza& observadorInstalado() {
  static ObservadorTraza observador;
  return observador;
}

}  // namespace

TModuloDatos::TModuloDatos(QObject* owner) : QObject(owner) { setObjectName(QStringLiteral("ModuloDatos")); }

TModuloDatos::~TModuloDatos() {
  ModuloDatosDestroy();
  if (ModuloDatos == this) ModuloDatos = nullptr;
}

void TModuloDatos::ModuloDatosDestroy() {
  CacheConsultasSQL.Clear();
  ModuloDatosListo = false;
}

void InstalarObservadorTraza(ObservadorTraza observador) { observadorInstalado() = std::move(observador); }

void RegistrarTraza(const QString& texto, const QString& detalle, const QVariant& extra) {
  if (observadorInstalado()) observadorInstalado()(texto, detalle, extra);
}
