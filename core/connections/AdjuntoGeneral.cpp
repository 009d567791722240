#include "core/connections/AdjuntoGeneral.h"

#include "core/connections/Conexiones.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Connection.h"
#include "platform/data/Database.h"
#include "platform/sql/Sqlite.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace {

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

void adjuntar(TfGENEINIC& servicios, sqlite3* conexion) {
  const QString general = archivoGeneral(servicios);
  const char* principal = sqlite3_db_filename(conexion, "main");
  if (general.isEmpty() || AliasBaseDatosGeneral.isEmpty() || !principal ||
      archivoCanonico(QString::fromUtf8(principal)) == general)
    return;
  if (sqlite3_db_filename(conexion, AliasBaseDatosGeneral.toUpper().toUtf8().constData())) return;
  if (sqlite3_get_autocommit(conexion) == 0) return;
  ExecuteSql(conexion, QStringLiteral("ATTACH DATABASE ? AS \"%1\"").arg(AliasBaseDatosGeneral.toUpper()), {general});
}

}  // namespace

void AdjuntarBaseDatosGeneral(TfGENEINIC& servicios, Connection& conexion) { adjuntar(servicios, conexion.Handle()); }

void AdjuntarBaseDatosGeneralAlAbrir() {
  static bool instalado = false;
  if (instalado) return;
  instalado = true;
  ConnectionSettings::AddInitializer([](sqlite3* conexion) {
    if (fGENEINIC) adjuntar(*fGENEINIC, conexion);
  });
}
