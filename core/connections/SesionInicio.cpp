#include "core/connections/SesionInicio.h"

#include "core/connections/Conexiones.h"
#include "core/connections/DiagnosticoInstalacion.h"
#include "core/connections/VariablesConexion.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/system/Archivos.h"
#include "core/system/Equipo.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/data/Session.h"

#include <QDir>

#include <algorithm>

namespace {

constexpr int kLongitudNombreUsuario = 15;

bool esLocal(const QString& carpetaRed) { return carpetaRed.toUpper() == QLatin1String("LOCAL"); }

// The private folder PRIVDIR/n, when no other running instance holds it.
bool tomarCarpetaPrivada(const QString& privdir, int n) {
  const QString carpeta = Paths::Join(privdir, QString::number(n));
  QDir().mkdir(carpeta);
  try {
    Session::Default().SetPrivateDir(carpeta);
  } catch (const std::exception&) {
    return false;
  }
  BorrarArchivos(Paths::Join(carpeta, QStringLiteral("TEMP*.*")));
  return true;
}

// The number of the private folder taken; 0 when none could be.
int carpetaPrivadaAutomatica() {
  const QString privdir = Paths::Join(CarpetaPrograma, QStringLiteral("PRIVDIR"));
  QDir().mkdir(privdir);
  int n = SesionBDE;
  // Down to 1 only: folder 0 is no instance's.
  while (!tomarCarpetaPrivada(privdir, n) && --n > 0) {
  }
  return n > 0 ? n : 0;
}

}  // namespace

void FijarCarpetaRed(const QString& carpetaRed) {
  if (!EsParadox() && esLocal(carpetaRed))
    Session::Default().SetNetFileDir(QDir::tempPath());
  else if (!carpetaRed.isEmpty())
    Session::Default().SetNetFileDir(QDir(CarpetaPrograma).absoluteFilePath(Paths::Internal(carpetaRed)));
}

int SesionBDEUsuario() {
  const QString usuario = UsuarioWindows().left(kLongitudNombreUsuario);
  int sesion = -1;
  for (const Session::User& entrada : Session::Default().UserList())
    if (entrada.userName.left(kLongitudNombreUsuario) == usuario) sesion = std::max(sesion, entrada.sessionNumber);
  return sesion;
}

bool PrepararSesionInicio(TfGENEINIC& servicios) {
  QString carpetaPrivada;
  try {
    const IniFile ini(ArchivoINI);
    const QString configuracion = QStringLiteral("Configuración");
    carpetaPrivada = ini.ReadString(configuracion, QStringLiteral("BDEPrivateDir"), QString());
    BDENetDir = ini.ReadString(configuracion, QStringLiteral("BDENetDir"), QString());
  } catch (const Exception&) {
    // Its first reading has warned already; the defaults stand.
  }

  Session::Default().SessionNumber();
  SesionBDE = std::max(SesionBDEUsuario(), 0);
  if (!DesactivarDiagnostico) DiagnosticoInstalacion(servicios, QStringLiteral("Configuracion"));

  if (carpetaPrivada.toUpper() != QLatin1String("AUTO") || esLocal(BDENetDir) || ArchivosTemporalesEnBD) return true;
  if (carpetaPrivadaAutomatica() > 0) return true;
  MensajeAviso(QStringLiteral("Se ha producido un conflicto con otro usuario (o aplicación). Inténtelo de nuevo."));
  servicios.close();
  // Nothing can go on without a database.
  if (Application* application = Application::Instance()) application->Terminate();
  return false;
}
