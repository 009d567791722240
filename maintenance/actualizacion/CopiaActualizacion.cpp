#include "maintenance/actualizacion/CopiaActualizacion.h"

#include "core/connections/CopiasSQLServer.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/system/Archivos.h"
#include "core/tables/DefinicionesEstructura.h"
#include "maintenance/actualizacion/EjecucionActualizacion.h"

namespace {

// The server's statement, whose failure comes back as a text holding "Error".
void sentenciaServidor(EjecucionActualizacion& ejecucion, const QString& sql, const QString& fallo) {
  const QString resultado = EjecutarSQL(sql, QString(), QStringLiteral("Silenciosa"));
  if (resultado.contains(QLatin1String("Error"))) ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Error, fallo + resultado);
}

}  // namespace

void EliminarCopiasAnteriores(EjecucionActualizacion& ejecucion, const QString& directorio) {
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                        QStringLiteral("Eliminando archivos de Copia de Seguridad anteriores"));
  for (const QString& archivo : LineasDefinicion(BuscarArchivos(directorio + QStringLiteral("\\dbb_*.bak")))) {
    if (!archivo.contains(QLatin1String("dbb_"))) continue;
    if (!BorrarArchivos(archivo))
      ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Error,
                            QStringLiteral("Error eliminando el archivo de Copia de Seguridad ") + archivo);
  }
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso, QString());
}

void RealizarCopiaSeguridadBD(EjecucionActualizacion& ejecucion, const QString& directorio, const QString& baseDatos) {
  EjecucionActualizacion::ProcesarMensajes();
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                        QStringLiteral("Realizando Copia de Seguridad de la Base de Datos ") + baseDatos);
  sentenciaServidor(ejecucion, SentenciaCopiaSeguridad(baseDatos, NombreCopiaSeguridadNueva(directorio, baseDatos)),
                    QStringLiteral("Error realizando la Copia de Seguridad de la Base de Datos ") + baseDatos +
                        QStringLiteral(": "));
}

void ActualizarIntercalacionBD(EjecucionActualizacion& ejecucion, const QString& baseDatos) {
  EjecucionActualizacion::ProcesarMensajes();
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                        QStringLiteral("Actualizando el Lenguaje de Intercalación de la Base de Datos ") + baseDatos +
                            QStringLiteral(": ") + NombreIntercalacionMSSQL);
  sentenciaServidor(ejecucion,
                    QStringLiteral("ALTER DATABASE ") + NombreSQL(baseDatos) + QStringLiteral("  COLLATE ") + NombreIntercalacionMSSQL,
                    QStringLiteral("Error actualizando el Lenguaje de Intercalación de la Base de Datos ") + baseDatos +
                        QStringLiteral(": "));
}
