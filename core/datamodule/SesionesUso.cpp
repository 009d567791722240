#include "core/datamodule/SesionesUso.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/system/Equipo.h"
#include "platform/Clock.h"
#include "platform/StringList.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"

#include <QWidget>

namespace {

constexpr int kLineasRegistro = 100;

QString lineaUso(const QWidget& formulario, const QString& accion) {
  const QString formato =
      QLatin1String(FormatSettings::ShortDateFormat) + u' ' + QLatin1String(FormatSettings::LongTimeFormat);
  QString equipo, direccion, error;
  const QString donde =
      NombreYDireccionEquipo(equipo, direccion, error) ? equipo + u'/' + direccion + u", "_qs : error + u", "_qs;
  return FormatDateTime(formato, ToDateTime(ClockSeam::Get().Now())) + u", "_qs + accion + u", "_qs +
         formulario.objectName() + u", "_qs + formulario.windowTitle() + u", "_qs + donde;
}

}  // namespace

QString UsuariosConectados() {
  return EjecutarSQL(u"SELECT DISTINCT nt_username   FROM master.dbo.sysprocesses   WHERE nt_username <> ''"
                     "  ORDER BY nt_username"_qs,
                     QStringLiteral("Database"));
}

int ContarSesiones(const QString& usuario) {
  QString sql =
      u"SELECT COUNT(DISTINCT P.hostprocess + P.nt_username)   FROM master.dbo.sysprocesses P   "
      "JOIN master.dbo.sysdatabases D     ON D.dbid = P.dbid   WHERE P.nt_username <> ''"
      "    AND (D.name = "_qs +
      LiteralSQL(AliasBaseDatosGeneral) + u"         OR D.name LIKE "_qs + LiteralSQL(AliasBaseDatosEmpresa + u'%') +
      u')';
  if (!usuario.isEmpty()) sql += u" AND P.nt_username = "_qs + LiteralSQL(usuario);
  return EjecutarSQL(sql, QStringLiteral("Database")).trimmed().toInt();
}

void RegistrarUso(const QWidget* formulario, const QString& accion) {
  if (!formulario || !MonitorizarActividadUsuario) return;
  QString escrita = accion;
  const bool inicio = accion.contains(QLatin1String("Start"));
  if (inicio) escrita = accion.mid(accion.indexOf(u',') + 1);
  const QString linea = lineaUso(*formulario, escrita);
  // Another copy of the program may be adding its own line meanwhile; a log
  // that cannot be read is left as it is.
  try {
    StringList::UpdateFile(CarpetaPrograma + UsuarioWindows() + u".log"_qs, [&](StringList& lineas) {
      if (inicio) lineas.Clear();
      if (lineas.Count() > kLineasRegistro) lineas.Delete(0);
      lineas.Add(linea);
    });
  } catch (const std::exception&) {
  }
}
