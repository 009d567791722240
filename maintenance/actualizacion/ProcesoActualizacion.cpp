#include "maintenance/actualizacion/ProcesoActualizacion.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "maintenance/actualizacion/CopiaActualizacion.h"
#include "maintenance/actualizacion/EjecucionActualizacion.h"
#include "maintenance/actualizacion/ObjetosSQL.h"
#include "maintenance/actualizacion/OpcionesActualizacion.h"
#include "maintenance/actualizacion/ReconstruccionTablas.h"
#include "maintenance/actualizacion/TriggersActualizacion.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/format/Format.h"

#include <QFileInfo>

namespace {

void copiasSeguridad(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones) {
  if (!opciones.realizarCopiaSeguridad) return;
  if (opciones.eliminarCopiasAnteriores) EliminarCopiasAnteriores(ejecucion, opciones.directorioCopiaSeguridad);
  for (const QString& baseDatos : opciones.basesDatos)
    RealizarCopiaSeguridadBD(ejecucion, opciones.directorioCopiaSeguridad, baseDatos);
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso, QString());
}

}  // namespace

void RealizarActualizacion(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones) {
  using Tipo = EjecucionActualizacion::Tipo;
  ejecucion.Limpiar();
  ejecucion.AnotarLinea(Tipo::Progreso, QStringLiteral("INICIO DEL PROCESO"));
  ejecucion.AnotarLinea(Tipo::Progreso, QString());
  copiasSeguridad(ejecucion, opciones);
  if (ejecucion.HayErrores()) {
    const QString aviso = QStringLiteral("El proceso de copia de seguridad ha producido errores. No es posible "
                                         "continuar con el proceso de actualización.");
    ejecucion.AnotarLinea(Tipo::Error, aviso);
    MensajeAviso(aviso);
  } else {
    for (const QString& baseDatos : opciones.basesDatos) {
      if (opciones.actualizarLenguajeIntercalacion) {
        ActualizarIntercalacionBD(ejecucion, baseDatos);
        ejecucion.AnotarLinea(Tipo::Progreso, QString());
      }
      ActualizarTablas(ejecucion, opciones, baseDatos);
    }
    if (!ejecucion.HayErrores())
      for (const QString& baseDatos : opciones.basesDatos) CrearTablasNoExistentes(ejecucion, opciones, baseDatos);
    if (!ejecucion.HayErrores())
      for (const QString& baseDatos : opciones.basesDatos) {
        if (baseDatos == AliasBaseDatosGeneral) continue;
        if (opciones.actualizarComandos) RecrearObjetosSQL(ejecucion, opciones, baseDatos);
        CrearTriggers(ejecucion, opciones, baseDatos);
      }
  }
  ejecucion.AnotarLinea(Tipo::Progreso, ejecucion.HayErrores() ? QStringLiteral("¡FIN DEL PROCESO CON ERRORES!")
                                                               : QStringLiteral("FIN DEL PROCESO"));
  // The general database's session goes back where it started, letting the last database go.
  QString error;
  ejecucion.EjecutarSentenciaActualizacion(QStringLiteral("USE ") + NombreSQL(AliasBaseDatosGeneral), QStringLiteral("Silenciosa"), error);
  ResultadoActualizacion = ejecucion.Progreso();
  if (ejecucion.HayErrores()) ResultadoActualizacion += QStringLiteral("\r\n") + ejecucion.Errores();
  GuardarClavesActualizacion(opciones);
}

void GuardarClavesActualizacion(const OpcionesActualizacion& opciones) {
  IniFile ini(ArchivoINI);
  ini.WriteString(QStringLiteral("Backup MS SQL Server"), QStringLiteral("UbicacionArchivosCopia"),
                  opciones.directorioCopiaSeguridad);
  const QFileInfo script(Paths::Internal(opciones.nombreArchivoCfg));
  ini.WriteString(QStringLiteral("Actualización de la Base de Datos"), QStringLiteral("UltimaFechaActualizacion"),
                  script.exists() ? DateToStr(ToDateTime(script.lastModified())) : QString());
}
