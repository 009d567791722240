#include "core/connections/CopiasSQLServer.h"

#include "core/connections/NombresBaseDatos.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/progress/Geneprog.h"
#include "core/services/SeleccionArchivoCarpeta.h"
#include "core/startup/Configuracion.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/data/Query.h"
#include "platform/sql/BackupFiles.h"

#include <QDir>
#include <QSet>

namespace {

// What tells a backup from a restore.
struct Operacion {
  QString tituloEleccion;
  QString opcionesEleccion;
  QString tituloProgreso;
  QString textoProgreso;
  QString (*archivo)(const QString& elegido, const QString& baseDatos);
  QString (*sentencia)(const QString& baseDatos, const QString& archivo);
};

class ProgresoEncendido {
 public:
  ProgresoEncendido(const QString& titulo, const QString& texto) {
    VentanaProgreso(QStringLiteral("ON"), titulo, QString(), texto);
  }
  ~ProgresoEncendido() { VentanaProgreso(QStringLiteral("OFF"), QString(), QString(), QString()); }
  ProgresoEncendido(const ProgresoEncendido&) = delete;
  ProgresoEncendido& operator=(const ProgresoEncendido&) = delete;
};

// A name held for a backup goes with its statement, done or failed.
class NombreReservado {
 public:
  explicit NombreReservado(const QString& archivo) : archivo_(archivo) {}
  ~NombreReservado() { ReleaseBackupName(Paths::Internal(archivo_)); }
  NombreReservado(const NombreReservado&) = delete;
  NombreReservado& operator=(const NombreReservado&) = delete;

 private:
  QString archivo_;
};

bool ejecutar(TfGENEINIC& servicios, const QString& pedida, QString ruta, const Operacion& operacion) {
  const QString baseDatos = pedida.isEmpty() ? NombreBaseDatosEmpresa(servicios, EmpresaActual) : pedida;
  // The server's own statement, on a connection of its own; it runs for as long as the server needs.
  Query consulta;
  consulta.SetDatabaseName(CadenaConexionADO(servicios, QStringLiteral("msdb"), QString()));
  if (ruta.isEmpty() && !SeleccionarArchivoCarpeta(operacion.tituloEleccion, ruta, operacion.opcionesEleccion))
    return false;
  const QString archivo = operacion.archivo(ruta, baseDatos);
  const NombreReservado reservado(archivo);
  const ProgresoEncendido progreso(operacion.tituloProgreso, operacion.textoProgreso + archivo);
  consulta.SQL().SetText(operacion.sentencia(baseDatos, archivo));
  consulta.ExecSQL();
  return true;
}

}  // namespace

namespace {

QString nombreCopia(const QString& carpeta, const QString& baseDatos, const QDateTime& momento) {
  return carpeta + QStringLiteral("\\dbb_") + baseDatos + u'_' + momento.toString(QStringLiteral("yyyyMMddHHmmss")) +
         QStringLiteral(".bak");
}

// The stamps of the backups of the database the folder holds, written or
// held: read once, so a crowded folder costs one listing, not one per second.
QSet<QString> segundosTomados(const QString& carpeta, const QString& baseDatos) {
  const QString prefijo = QStringLiteral("dbb_") + baseDatos + u'_';
  constexpr int kCifras = 14;  // "yyyyMMddHHmmss"
  QSet<QString> tomados;
  const QDir carpetaInterna(Paths::Internal(carpeta));
  for (const QString& nombre : carpetaInterna.entryList({prefijo + u'*'}, QDir::Files | QDir::Hidden))
    if (nombre.mid(prefijo.size() + kCifras, 4) == u".bak") tomados.insert(nombre.mid(prefijo.size(), kCifras));
  return tomados;
}

// The name of the latest second up to now that the test accepts, else the
// first one after now: backups made faster than one a second take the
// seconds before the clock, so a name runs ahead of it only when the whole
// last hour is taken.
QString nombreLibre(const QString& carpeta, const QString& baseDatos, bool (*libre)(const QString&)) {
  constexpr int kSegundosProbados = 3600;
  const QDateTime ahora = ClockSeam::Get().Now();
  const QSet<QString> tomados = segundosTomados(carpeta, baseDatos);
  const auto probar = [&](int segundo) -> QString {
    const QDateTime momento = ahora.addSecs(segundo);
    if (tomados.contains(momento.toString(QStringLiteral("yyyyMMddHHmmss")))) return QString();
    const QString nombre = nombreCopia(carpeta, baseDatos, momento);
    return libre(Paths::Internal(nombre)) ? nombre : QString();
  };
  for (int segundo = 0; segundo > -kSegundosProbados; --segundo)
    if (const QString nombre = probar(segundo); !nombre.isEmpty()) return nombre;
  for (int segundo = 1; segundo <= kSegundosProbados; ++segundo)
    if (const QString nombre = probar(segundo); !nombre.isEmpty()) return nombre;
  // A folder this machine cannot see (the server's own) is the server's to judge.
  return NombreCopiaSeguridad(carpeta, baseDatos);
}

}  // namespace

QString NombreCopiaSeguridad(const QString& carpeta, const QString& baseDatos) {
  return nombreCopia(carpeta, baseDatos, ClockSeam::Get().Now());
}

QString NombreCopiaSeguridadNueva(const QString& carpeta, const QString& baseDatos) {
  return nombreLibre(carpeta, baseDatos, [](const QString& archivo) { return !BackupFileTaken(archivo); });
}

QString ReservarNombreCopiaSeguridad(const QString& carpeta, const QString& baseDatos) {
  return nombreLibre(carpeta, baseDatos, ReserveBackupName);
}

QString SentenciaCopiaSeguridad(const QString& baseDatos, const QString& archivo) {
  return QStringLiteral("BACKUP DATABASE ") + NombreSQL(baseDatos) + QStringLiteral("  TO DISK = ") + LiteralSQL(archivo) +
         QStringLiteral("  WITH FORMAT");
}

bool CopiaSeguridadSQLServer(TfGENEINIC& servicios, const QString& baseDatos, const QString& carpeta) {
  static const Operacion copia{
      QStringLiteral("Seleccione la carpeta destino para la Copia de Seguridad"), QStringLiteral("Carpetas"),
      QStringLiteral("Copia de Seguridad de la Base de Datos"), QStringLiteral("Generando..."), ReservarNombreCopiaSeguridad,
      SentenciaCopiaSeguridad};
  return ejecutar(servicios, baseDatos, carpeta, copia);
}

bool RestaurarCopiaSQLServer(TfGENEINIC& servicios, const QString& baseDatos, const QString& archivo) {
  static const Operacion restauracion{
      QStringLiteral("Seleccione el archivo de backup para restaurar"), QStringLiteral("Carpetas,Archivos"),
      QStringLiteral("Restauración de la Copia de Seguridad de la Base de Datos"), QStringLiteral("Restaurando..."),
      [](const QString& elegido, const QString&) { return elegido; },
      [](const QString& base, const QString& archivo) {
        return QStringLiteral("RESTORE DATABASE ") + NombreSQL(base) + QStringLiteral("  FROM DISK = ") + LiteralSQL(archivo) +
               QStringLiteral("WITH REPLACE");
      }};
  return ejecutar(servicios, baseDatos, archivo, restauracion);
}
