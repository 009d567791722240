#include "core/startup/MapaAyuda.h"

#include "core/startup/Configuracion.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"

void CargarMapaAyuda() {
  MapaAyuda.Clear();
  try {
    MapaAyuda.LoadFromFile(Paths::FindFile(CarpetaPrograma, QLatin1String(kArchivoMapaAyuda)));
  } catch (const Exception&) {
    MapaAyuda.Clear();
    return;
  }
  StringList transformado;
  for (const QString& linea : MapaAyuda.Lines())
    // Runs of blanks give empty words, as the map's own tool counts them.
    transformado.Add(linea.section(u' ', 1, 1) + u'=' + linea.section(u' ', 2, 2));
  MapaAyuda = transformado;
}
