#include "core/startup/ParametrosInstalacion.h"

#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/StringList.h"
#include "platform/data/Session.h"

#include <QDir>

#include <optional>

namespace {

std::optional<StringList> cargar(const QString& archivo) {
  if (archivo.isEmpty()) return std::nullopt;
  try {
    StringList lineas;
    lineas.LoadFromFile(Paths::Internal(archivo));
    return lineas;
  } catch (const Exception&) {
    return std::nullopt;
  }
}

// The engine session's private folder; the current folder while none is set.
QString carpetaPrivadaSesion() {
  const QString privada = Session::Default().PrivateDir();
  return privada.isEmpty() ? QDir::currentPath() : privada;
}

QString valorODefecto(const StringList& lineas, const QString& nombre, const QString& defecto) {
  const QString valor = lineas.Values(nombre);
  return valor.isEmpty() ? defecto : valor;
}

}  // namespace

void LeerParametrosInstalacion() {
  QString leido = ParametroL;
  std::optional<StringList> lineas = cargar(leido);
  if (!lineas) {
    leido = Paths::FindFile(CarpetaPrograma, QLatin1String(kArchivoInstalacionPorDefecto));
    lineas = cargar(leido);
  }
  if (!lineas) {
    ArchivoInstalacion.clear();
    MensajeAviso(QStringLiteral(
        "No ha sido posible leer los parámetros de instalación. Se utilizarán los parámetros por defecto."));
    return;
  }
  ArchivoInstalacion = leido;
  TipoBaseDatos = valorODefecto(*lineas, QStringLiteral("TipoBaseDatos"), QStringLiteral("Paradox"));
  AliasBaseDatosGeneral = lineas->Values(QStringLiteral("AliasBaseDatosGeneral"));
  PathBaseDatosGeneral = lineas->Values(QStringLiteral("PathBaseDatosGeneral"));
  PathBaseDatos = PathBaseDatosGeneral;
  AliasBaseDatos = lineas->Values(QStringLiteral("AliasBaseDatos"));
  AliasBaseDatosEmpresa = AliasBaseDatos;
  PathArchivosTemporales = lineas->Values(QStringLiteral("PathArchivosTemporales"));
  // A temporary-files "path" that is no folder names a database; the program
  // INI file decides finally.
  if (!Paths::HasSeparator(PathArchivosTemporales)) ArchivosTemporalesEnBD = true;
  if (PathArchivosTemporales == QLatin1String("PrivateDir")) PathArchivosTemporales = carpetaPrivadaSesion();
  CodigoAdministrador = valorODefecto(*lineas, QStringLiteral("CodigoAdministrador"), QStringLiteral("ADMIN"));
  NombreEmpresaInicial = valorODefecto(*lineas, QStringLiteral("NombreEmpresaInicial"), QStringLiteral("EMPRESA 1"));
  EmpresaActual = 0;
  LogotipoEmpresa = QStringLiteral("LOGO.BMP");
  IdiomaActual = ParametroT;
}
