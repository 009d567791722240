#include "core/forms/TablasFormulario.h"

#include "core/connections/Conexiones.h"
#include "core/connections/CreacionTablas.h"
#include "core/connections/RepararTablas.h"
#include "core/connections/TransaccionesConexion.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/helpers/Tablas.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/system/CursorEspera.h"
#include "core/system/Incidencias.h"
#include "platform/Clock.h"
#include "platform/Exceptions.h"
#include "platform/controls/Components.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace {

QList<Table*> tablasDe(QObject& formulario) {
  QList<Table*> tablas;
  for (QObject* componente : Components(&formulario))
    if (auto* tabla = qobject_cast<Table*>(componente)) tablas.append(tabla);
  return tablas;
}

QString detalle(const Table& tabla, const QString& separador, const QString& error) {
  return error + separador + QStringLiteral("Tabla: ") + tabla.TableName() + u'(' + tabla.objectName() + u')' +
         QStringLiteral(" DataBase: ") + tabla.DatabaseName();
}

bool omitirParametrosGenerales(const Table& tabla) {
  if (!tabla.TableName().contains(QLatin1String("PARAGENE"))) return false;
  if (EmpresaActual == 0) return true;
  QWidget* principal = Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr;
  return principal && principal->objectName() == QLatin1String("fGENEMENU");
}

void transaccionVaciaEmpresa() {
  if (!EsSQLServer() || !fGENEINIC) return;
  try {
    TransaccionVacia(*Conexiones(*fGENEINIC).Database);
  } catch (const std::exception&) {
    // a refused commit leaves the connection as the engine left it
  }
}

// False when the table could neither be opened nor created.
bool abrir(QObject& formulario, Table& tabla) {
  try {
    tabla.Close();
    if (fGENEINIC) {
      const TConexiones& conexiones = Conexiones(*fGENEINIC);
      tabla.SetDatabaseName((EsTablaGeneral(tabla.TableName()) ? conexiones.DatabaseGeneral : conexiones.Database)
                                ->DatabaseName());
    }
    tabla.Open();
    return true;
  } catch (const std::exception& fallo) {
    const QString error = TextoExcepcion(fallo);
    if (error.contains(QLatin1String("Table does not exist"))) {
      QString fallo2;
      try {
        if (CrearTablaPorDefecto(tabla) || ExisteTabla(tabla)) {
          tabla.Open();
          return true;
        }
      } catch (const std::exception& otro) {
        fallo2 = TextoExcepcion(otro);
      }
      CapturarIncidencia(detalle(tabla, QStringLiteral("\r\n"), error),
                         QStringLiteral("Al crear la tabla entrando en ") + formulario.objectName() +
                             QStringLiteral(" (AbrirTablasForm)"));
      MensajeAviso(QStringLiteral("TRADUCIR: ") + (fallo2.isEmpty() ? error : fallo2) + QStringLiteral(" Tabla: ") +
                   tabla.TableName());
      return false;
    }
    QString respuesta;
    MensajeSistema(QStringLiteral("E"), QStringLiteral("TRADUCIR: ") + detalle(tabla, QStringLiteral(" "), error),
                   respuesta);
    CapturarIncidencia(detalle(tabla, QStringLiteral("\r\n"), error),
                       QStringLiteral("Al entrar en ") + formulario.objectName() + QStringLiteral(" (AbrirTablasForm)"));
    if (fGENEINIC) RepararTablas(*fGENEINIC, &tabla, error, &formulario);
    return true;
  }
}

void cerrar(QObject& formulario) {
  if (auto* ventana = qobject_cast<QWidget*>(&formulario))
    QMetaObject::invokeMethod(ventana, &QWidget::close, Qt::QueuedConnection);
  else
    formulario.deleteLater();
}

}  // namespace

void AbrirTablasFormulario(QObject& formulario) {
  PrepararFormulario(formulario);
  const CursorEspera espera;
  bool fallida = false;
  for (Table* tabla : tablasDe(formulario)) {
    if (tabla->TableName().isEmpty() || omitirParametrosGenerales(*tabla)) continue;
    if (!abrir(formulario, *tabla)) fallida = true;
  }
  transaccionVaciaEmpresa();
  if (Ganchos().TraducirFormulario) Ganchos().TraducirFormulario(formulario);
  if (fallida) cerrar(formulario);
}

void RefrescarTablasFormulario(QObject& formulario, const QString& modo) {
  const CursorEspera espera;
  // Closing a dataset frees the fields it made: the datasets are taken first.
  QList<QPointer<Dataset>> datasets;
  for (QObject* componente : Components(&formulario))
    if (auto* dataset = qobject_cast<Dataset*>(componente)) datasets.append(dataset);
  for (Dataset* dataset : datasets) {
    if (!dataset || dataset->State() != dsBrowse) continue;
    if (!EsSQLServer()) {
      dataset->Refresh();
    } else if (modo == QLatin1String("Apertura/Cierre")) {
      auto* tabla = qobject_cast<Table*>(dataset);
      const Variant clave = tabla && !tabla->IsEmpty() ? ValoresClave(*tabla) : Variant();
      dataset->Close();
      dataset->Open();
      if (tabla && !clave.IsNullOrEmpty()) LocalizarClave(*tabla, clave);
    } else {
      const Bookmark marca = dataset->GetBookmark();
      dataset->Next();
      dataset->Prior();
      if (dataset->BookmarkValid(marca)) dataset->GotoBookmark(marca);
    }
  }
}

void SoloLecturaTablas(QObject& formulario) {
  if (!ModuloDatosListo) return;
  const CursorEspera espera;
  for (Table* tabla : tablasDe(formulario)) {
    // The read-only switch of a table holds only while it is closed.
    const bool abierta = tabla->Active();
    if (abierta) tabla->Close();
    tabla->SetReadOnly(true);
    if (abierta) tabla->Open();
  }
}

void AntesDeBorrarRegistro(Dataset& dataset) {
  UltimaActividad = ClockSeam::Get().Now();
  auto* tabla = qobject_cast<Table*>(&dataset);
  if (!tabla) return;
  if (fGENEINIC && tabla->DatabaseName() == Conexiones(*fGENEINIC).DatabaseGeneral->DatabaseName()) return;
  if (Ganchos().EliminarRegistrosAsociados && !Ganchos().EliminarRegistrosAsociados(*tabla)) throw Abort();
}
