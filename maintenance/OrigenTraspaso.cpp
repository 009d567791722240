#include "maintenance/OrigenTraspaso.h"

#include "core/startup/Configuracion.h"
#include "platform/data/Session.h"
#include "platform/firebird/FirebirdConnection.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr auto kArchivoDatos = "DATOS.SQLITE";

QString canonica(const QString& archivo) {
  const QFileInfo info(archivo);
  return info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
}

// A destination database's file; empty when its name means nothing.
QString archivoDe(const QString& baseDatos) {
  try {
    return canonica(Session::Default().DatabaseFile(baseDatos));
  } catch (const std::exception&) {
    return QString();
  }
}

}  // namespace

OrigenTraspaso::OrigenTraspaso(QString nombre) : nombre_(std::move(nombre)) {}

bool OrigenTraspaso::EsInterbase() const {
  const Session& sesion = Session::Default();
  return sesion.IsAlias(nombre_) && sesion.GetAliasDriverName(nombre_).compare(u"INTRBASE", Qt::CaseInsensitive) == 0;
}

QString OrigenTraspaso::ArchivoParadox(const QString& subcarpeta) const {
  const Session& sesion = Session::Default();
  QString carpeta = sesion.IsAlias(nombre_) ? sesion.GetAliasParams(nombre_).Values(QStringLiteral("PATH")) : nombre_;
  carpeta.replace(u'\\', u'/');
  if (!subcarpeta.isEmpty()) carpeta = QDir(carpeta).filePath(subcarpeta);
  return QDir(carpeta).filePath(QLatin1String(kArchivoDatos));
}

bool OrigenTraspaso::EsDestino() const {
  if (EsInterbase()) return false;
  const QString origen = canonica(ArchivoParadox());
  for (const QString& destino : {AliasBaseDatosGeneral, AliasBaseDatos})
    if (archivoDe(destino) == origen) return true;
  return false;
}

std::shared_ptr<EngineConnection> OrigenTraspaso::Abrir(const QString& subcarpeta) const {
  if (EsInterbase()) {
    const StringList parametros = Session::Default().GetAliasParams(nombre_);
    return std::make_shared<FirebirdConnection>(parametros.Values(QStringLiteral("SERVER NAME")),
                                                parametros.Values(QStringLiteral("USER NAME")),
                                                parametros.Values(QStringLiteral("PASSWORD")));
  }
  const QString archivo = ArchivoParadox(subcarpeta);
  if (!QFileInfo::exists(archivo)) throw EDatabaseError(QLatin1String(EngineText::PathNotFound), archivo);
  return OpenBackupFile(archivo, FileAccess::Read);
}
