#include "printing/comandos/DestinoComandos.h"

std::optional<QVariant> DestinoComandos::CampoFila(const QString& campo) {
  const EjecucionImpreso& ejecucion = Ejecucion();
  if (!ejecucion.geometria.enSeccionLineas) return ejecucion.Fuente().CampoDocumento(campo);
  for (const auto& [nombre, valor] : ejecucion.Fuente().ValoresLinea())
    if (nombre.compare(campo, Qt::CaseInsensitive) == 0) return valor;
  return std::nullopt;
}
