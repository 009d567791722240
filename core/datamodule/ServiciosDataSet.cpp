#include "core/datamodule/ServiciosDataSet.h"

#include "core/datamodule/Genemodu.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/TextoSQL.h"
#include "core/helpers/TiposCampo.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/system/CursorEspera.h"
#include "core/tables/CopiaRegistros.h"
#include "core/tables/CreacionTabla.h"
#include "core/tables/NombresTablas.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMetaObject>

#include <memory>

namespace {

// The listing form of the running program, or one made for this call.
class FormularioListado {
 public:
  FormularioListado() {
    for (QWidget* ventana : QApplication::topLevelWidgets())
      if (ventana->inherits(kFormularioListado)) formulario_ = ventana;
    if (!formulario_) {
      propio_.reset(FormRegistry::Create(QLatin1String(kFormularioListado), nullptr));
      formulario_ = propio_.get();
    }
    if (!formulario_)
      throw Exception(QStringLiteral("El formulario ") + QLatin1String(kFormularioListado) +
                      QStringLiteral(" no está disponible."));
  }

  void Mostrar(Dataset& dataSet, const QString& clave, const QString& titulo, const QString& opciones) {
    if (!QMetaObject::invokeMethod(formulario_, "MostrarListadoProgramable", Qt::DirectConnection,
                                   Q_ARG(Dataset*, &dataSet), Q_ARG(QString, clave), Q_ARG(QString, titulo),
                                   Q_ARG(QString, opciones)))
      throw Exception(QStringLiteral("El formulario ") + QLatin1String(kFormularioListado) +
                      QStringLiteral(" no está disponible."));
  }

  QAbstractButton* BotonTablaLogica() const {
    return formulario_->findChild<QAbstractButton*>(QStringLiteral("pbActivarTablaLogica"));
  }

 private:
  QWidget* formulario_ = nullptr;
  std::unique_ptr<QWidget> propio_;
};

QString definicionTemporal(const Dataset& dataSet) {
  QString definicion = QStringLiteral("Tabla Temporal\r\n");
  for (int i = 0; i < dataSet.FieldCount(); ++i) {
    const Field& campo = dataSet.Fields(i);
    if (!campo.Visible()) continue;
    definicion += u"/C/"_qs + QString::number(i + 1) + u'/' + campo.FieldName() + u'/' +
                  TextoDeTipoCampo(campo.DataType()) + u'/' + QString::number(campo.Size()) + u"/\r\n"_qs;
  }
  return definicion;
}

// The fields a listing shows: those the dataset does not hide.
QString camposVisibles(const Dataset& dataSet) {
  QStringList nombres;
  for (int i = 0; i < dataSet.FieldCount(); ++i)
    if (dataSet.Fields(i).Visible()) nombres.append(dataSet.Fields(i).FieldName());
  return nombres.join(u';');
}

void copiarRegistros(Dataset& origen, Table& temporal) {
  const QString campos = camposVisibles(origen);
  origen.DisableControls();
  const Bookmark marca = origen.GetBookmark();
  try {
    for (origen.First(); !origen.Eof(); origen.Next()) {
      temporal.Append();
      CopiarCampos(origen, temporal, campos);
      temporal.Post();
    }
  } catch (...) {
    if (temporal.State() == dsInsert) temporal.Cancel();
    if (origen.BookmarkValid(marca)) origen.GotoBookmark(marca);
    origen.EnableControls();
    throw;
  }
  if (origen.BookmarkValid(marca)) origen.GotoBookmark(marca);
  origen.EnableControls();
  RefrescarDataSet(temporal);
}

// The temporary table goes whatever happens to the listing.
class TablaTemporalListado {
 public:
  TablaTemporalListado() : tabla(ModuloDatos) {}
  ~TablaTemporalListado() {
    try {
      tabla.Close();
      if (creada) tabla.DeleteTable();
    } catch (const std::exception&) {
    }
  }
  TablaTemporalListado(const TablaTemporalListado&) = delete;
  TablaTemporalListado& operator=(const TablaTemporalListado&) = delete;

  Table tabla;
  bool creada = false;
};

}  // namespace

void ListarDataSet(Dataset& dataSet) {
  if (auto* tabla = qobject_cast<Table*>(&dataSet)) {
    FormularioListado().Mostrar(*tabla, QString(), QString(), QString());
    return;
  }
  auto* consulta = qobject_cast<Query*>(&dataSet);
  if (!consulta) return;
  const QString nombre = NombreTablaSQL(consulta->SQL().Text());
  Table tabla(ModuloDatos);
  tabla.SetDatabaseName(
      BaseDatosBDE(EsTablaGeneral(nombre) ? QStringLiteral("DatabaseGeneral") : QStringLiteral("Database")));
  // The data layer names tables without their owner.
  tabla.SetTableName(QuitarPrefijoTabla(nombre));
  if (!PrepararTabla(tabla)) return;
  FormularioListado().Mostrar(tabla, QString(), QString(), QString());
}

void ListarEnTablaTemporal(Dataset& dataSet, const QString& clave, const QString& titulo) {
  if (!dataSet.Active()) {
    MensajeInformacion(QStringLiteral("No hay registros para listar"));
    return;
  }
  if (dataSet.RecordCount() > 1000) {
    QString respuesta;
    MensajeConfirmacion(QStringLiteral("El informe tiene más de 1000 registros. ¿Desea continuar?"), respuesta);
    if (respuesta == u"NO") return;
  }
  FormularioListado listado;
  TablaTemporalListado temporal;
  {
    CursorEspera cursor;
    temporal.creada = CrearTabla(temporal.tabla, definicionTemporal(dataSet), -1);
    if (!temporal.creada) return;
    if (!temporal.tabla.Active()) temporal.tabla.Open();
    copiarRegistros(dataSet, temporal.tabla);
  }
  QAbstractButton* boton = listado.BotonTablaLogica();
  const auto pulsar = [boton](bool abajo) {
    if (!boton) return;
    boton->setChecked(abajo);
    boton->setVisible(!abajo);
  };
  pulsar(true);
  try {
    listado.Mostrar(temporal.tabla, clave, titulo, QStringLiteral("CamposOrdenadosOFF"));
  } catch (...) {
    pulsar(false);
    throw;
  }
  pulsar(false);
}

bool EliminarTodosRegistros(Dataset& dataSet) {
  QString respuesta;
  MensajeConfirmacion(
      u"¡Esta opción elimina todos los registros activos de la tabla!. Puede utilizar previamente la opción Filtrar "
      "Registros del Menú Ficha para limitar los registros a eliminar. ¿Desea continuar?"_qs,
      respuesta);
  if (respuesta != u"SI") return true;
  MensajeConfirmacion(u"¿Está Vd. realmente seguro de querer eliminar todos los registros activos de la tabla?"_qs,
                      respuesta);
  if (respuesta != u"SI") return true;
  CursorEspera cursor;
  try {
    dataSet.First();
    while (!dataSet.IsEmpty()) dataSet.Delete();
  } catch (const std::exception&) {
    MensajeAviso(u"¡Imposible eliminar el registro!"_qs);
    return false;
  }
  return true;
}
