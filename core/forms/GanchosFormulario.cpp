#include "core/forms/GanchosFormulario.h"

GanchosFormulario& Ganchos() {
  static GanchosFormulario ganchos;
  return ganchos;
}

void RestablecerGanchosFormulario() { Ganchos() = GanchosFormulario{}; }
