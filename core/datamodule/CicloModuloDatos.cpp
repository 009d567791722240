#include "core/datamodule/CicloModuloDatos.h"

#include "core/datamodule/Genemodu.h"

#include <memory>

namespace {

std::unique_ptr<TModuloDatos>& propio() {
  static std::unique_ptr<TModuloDatos> modulo;
  return modulo;
}

}  // namespace

void CrearModuloDatos() {
  LiberarModuloDatos();
  propio() = std::make_unique<TModuloDatos>();
  ModuloDatos = propio().get();
}

void LiberarModuloDatos() {
  propio().reset();
  ModuloDatos = nullptr;
}

void ApartarModuloDatos(const std::function<void()>& trabajo) {
  LiberarModuloDatos();
  try {
    trabajo();
  } catch (...) {
    CrearModuloDatos();
    throw;
  }
  CrearModuloDatos();
}
