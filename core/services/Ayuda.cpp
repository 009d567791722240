#include "core/services/Ayuda.h"

#include "core/helpers/Listas.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/DesktopServices.h"
#include "platform/Paths.h"

#include <QFileInfo>

int ContextoAyuda(const QString& tema) { return ValorStrings(tema, MapaAyuda).toInt(); }

bool MostrarAyuda(int /*contexto*/) {
  const QString archivo = QFileInfo(Paths::FindFile(CarpetaPrograma, QLatin1String(kArchivoAyuda))).absoluteFilePath();
  if (fGENEINIC) fGENEINIC->PathAyuda = archivo;
  if (!QFileInfo::exists(archivo)) {
    // The viewer would only say the same again: the warning is all the user gets.
    MensajeAviso(QStringLiteral("¡No existe el archivo de ayuda!"));
    return true;
  }
  if (DesktopServicesSeam::Get().OpenFile(archivo)) return true;
  MensajeAviso(QStringLiteral("¡La Ayuda HTML no está instalada en esta máquina!"));
  return false;
}
