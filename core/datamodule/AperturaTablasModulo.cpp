#include "core/datamodule/AperturaTablasModulo.h"

#include "core/connections/Conexiones.h"
#include "core/connections/CreacionTablas.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/connections/RepararTablas.h"
#include "core/connections/TransaccionesConexion.h"
#include "core/helpers/Tablas.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/CursorEspera.h"
#include "core/system/Incidencias.h"
#include "core/tables/NombresTablas.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"

#include <QApplication>
#include <QWidget>

namespace {

bool bajoVentanaPrincipal() {
  for (const QWidget* ventana : QApplication::topLevelWidgets())
    if (ventana->objectName() == QLatin1String("fGENEMENU")) return true;
  return false;
}

bool omitida(const Table& tabla) {
  return tabla.TableName().contains(QLatin1String("PARAGENE")) && (EmpresaActual == 0 || bajoVentanaPrincipal());
}

void capturar(const Table& tabla, const QString& error, const QString& lugar) {
  CapturarIncidencia(error + QStringLiteral("\r\nTabla: ") + tabla.TableName() + u'(' + tabla.objectName() + u')' +
                         QStringLiteral(" DataBase: ") + tabla.DatabaseName(),
                     lugar);
}

void confirmarTransaccionVacia(TfGENEINIC& servicios) {
  if (EsSQLServer()) TransaccionVacia(*Conexiones(servicios).Database);
}

void abrir(TfGENEINIC& servicios, const QObject& modulo, Table& tabla) {
  const TConexiones& conexiones = Conexiones(servicios);
  try {
    tabla.Close();
    const ::Database& base = EsTablaGeneral(tabla.TableName()) ? *conexiones.DatabaseGeneral : *conexiones.Database;
    tabla.SetDatabaseName(base.DatabaseName());
    tabla.Open();
  } catch (const std::exception& fallo) {
    const QString error = TextoExcepcion(fallo);
    if (ErrorTablaInexistente(error)) {
      tabla.Close();
      if (CrearTablaSiFalta(tabla, QString(), -1)) {
        tabla.Open();
        return;
      }
      // The module stays; the user table's own opening reports the failure.
      capturar(tabla, error,
               QStringLiteral("Al crear la tabla entrando en ") + modulo.objectName() + QStringLiteral(" (AbrirTablasForm)"));
      return;
    }
    MensajeError(QStringLiteral("TRADUCIR: ") + error + QStringLiteral(" Tabla: ") + tabla.TableName() + u'(' +
                 tabla.objectName() + u')' + QStringLiteral(" DataBase: ") + tabla.DatabaseName());
    capturar(tabla, error, QStringLiteral("Al entrar en ") + modulo.objectName() + QStringLiteral(" (AbrirTablasForm)"));
    RepararTablas(servicios, &tabla, error, const_cast<QObject*>(&modulo));
  }
}

}  // namespace

void AbrirTablasModulo(TfGENEINIC& servicios, QObject& modulo) {
  confirmarTransaccionVacia(servicios);
  const QList<Table*> tablas = modulo.findChildren<Table*>(QString(), Qt::FindDirectChildrenOnly);
  if (EsSQLServer())
    for (Table* tabla : tablas)
      if (!tabla->TableName().isEmpty() && !tabla->Active()) tabla->SetTableName(NombreTablaFisica(tabla->TableName()));
  {
    const CursorEspera espera;
    for (Table* tabla : tablas)
      if (!tabla->TableName().isEmpty() && !omitida(*tabla)) abrir(servicios, modulo, *tabla);
    confirmarTransaccionVacia(servicios);
  }
  TraducirFormulario(&modulo);
}
