#include "core/services/Mensajeria.h"

#include "core/startup/Configuracion.h"
#include "core/system/Comandos.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"

#include <QDir>

QString ClaveUsuarioActual;

void AbrirMensajeria(const QString& texto) {
  if (!MensajeriaInternaActivada) return;
  const QString clave = ClaveUsuarioActual.isEmpty() ? QStringLiteral("Indefinida") : ClaveUsuarioActual;
  const QString parametros =
      ArchivoInstalacion + u' ' + CodigoUsuarioActual + u' ' + clave + u' ' + texto;
  // The program's own outcome is not looked at, as the shell's "open" gives none.
  ProcessLauncherSeam::Get().Start(Paths::Join(CarpetaPrograma, QLatin1String(kProgramaMensajeria)),
                                   SepararParametros(parametros), QDir::currentPath());
}
