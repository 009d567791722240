#include "core/system/Incidencias.h"

#include "core/datamodule/Genemodu.h"
#include "core/startup/Configuracion.h"

void CapturarIncidencia(const QString& texto, const QString& detalle, const QVariant& extra) {
  if (NivelCapturaIncidencias != u"Ninguno") RegistrarTraza(texto, detalle, extra);
}
