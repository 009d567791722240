#include "platform/net/OpcionesRed.h"

OpcionesRed& OpcionesRed::Actuales() {
  static OpcionesRed opciones;
  return opciones;
}
