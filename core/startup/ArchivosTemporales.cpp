#include "core/startup/ArchivosTemporales.h"

#include "core/startup/Configuracion.h"
#include "core/system/Archivos.h"

void BorrarArchivosTemporales() {
  // What cannot be deleted belongs to a program still running: left alone.
  BorrarArchivos(CarpetaPrograma + QStringLiteral("_QS*.*"));
  BorrarArchivos(DirectorioTemporal() + QStringLiteral("QRP*.TMP"));
}
