#include "core/datamodule/Genemodu.h"

TModuloDatos* ModuloDatos = nullptr;

TModuloDatos::TModuloDatos(QObject* owner) : QObject(owner) { setObjectName(QStringLiteral("ModuloDatos")); }

TModuloDatos::~TModuloDatos() {
  if (ModuloDatos == this) ModuloDatos = nullptr;
}
