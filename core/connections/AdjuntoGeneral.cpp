#include "core/connections/AdjuntoGeneral.h"

#include "core/connections/Conexiones.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Database.h"
#include "platform/sqlite/Connection.h"

#include <QFileInfo>

namespace {

bool adjuntoInstalado = false;

QString archivoCanonico(const QString& archivo) { return QFileInfo(archivo).canonicalFilePath(); }

// The general database's file, when it is known and exists.
QString archivoGeneral(TfGENEINIC& servicios) {
  const Database& general = *Conexiones(servicios).DatabaseGeneral;
  if (general.AliasName().isEmpty() && general.DatabaseName().isEmpty()) return {};
  try {
    return archivoCanonico(general.FileName());
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

void AdjuntarBaseDatosGeneral(TfGENEINIC& servicios, EngineConnection& conexion) {
  auto* archivo = dynamic_cast<Connection*>(&conexion);
  if (!archivo) return;
  const QString general = archivoGeneral(servicios);
  if (general.isEmpty() || AliasBaseDatosGeneral.isEmpty() || archivoCanonico(archivo->FileName()) == general ||
      archivo->InTransaction())
    return;
  archivo->Attached().Keep(AliasBaseDatosGeneral.toUpper(), general);
}

void AdjuntarBaseDatosGeneralAlAbrir() {
  if (adjuntoInstalado) return;
  adjuntoInstalado = true;
  ConnectionSettings::AddInitializer([](Connection& conexion) {
    if (fGENEINIC) AdjuntarBaseDatosGeneral(*fGENEINIC, conexion);
  });
}

void ResetAdjuntoGeneralAlAbrir() { adjuntoInstalado = false; }
