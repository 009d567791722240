#include "core/startup/DireccionDistribuidor.h"

#include "core/startup/Configuracion.h"

void NormalizarURLAccesoMenuWebDistribuidor() {
  if (URLAccesoMenuWebDistribuidor.isEmpty() || URLAccesoMenuWebDistribuidor == QLatin1String("Por Defecto"))
    URLAccesoMenuWebDistribuidor = QLatin1String(kURLDistribuidorPorDefecto);
  else if (URLAccesoMenuWebDistribuidor == QLatin1String("Ninguna"))
    URLAccesoMenuWebDistribuidor.clear();
}
