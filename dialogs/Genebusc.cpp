#include "dialogs/Genebusc.h"

#include "core/datamodule/CatalogoClaves.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "core/tables/NombresTablas.h"
#include "dialogs/Genebusa.h"
#include "dialogs/Genebusq.h"
#include "platform/data/Table.h"

#include <QLineEdit>

namespace {

const QString kPorDefecto = QStringLiteral("PorDefecto=");

// Lives for one request only.
QString CondicionPendiente;
QString SeleccionPendiente;
QString TextoInicialPendiente;

QString textoInicial() {
  QString inicial;
  if (TextoInicialPendiente.contains(kPorDefecto)) inicial = TextoInicialPendiente.remove(kPorDefecto);
  TextoInicialPendiente.clear();
  return inicial;
}

// The dialog's answer: the keys, one per line, and whether one was chosen.
Variant buscar(const QString& tabla, int indice, const QString& inicial) {
  QString claves;
  int resultado = mrCancel;
  if (BusquedaAproximadaActivada) {
    if (fGENEBUSA) {
      claves = fGENEBUSA->BuscarAproximado(tabla);
      resultado = fGENEBUSA->ModalResult();
    }
  } else if (fGENEBUSQ) {
    fGENEBUSQ->TablaBusqueda = tabla;
    fGENEBUSQ->CondicionAdicional = CondicionPendiente;
    fGENEBUSQ->CamposSeleccion = SeleccionPendiente;
    fGENEBUSQ->IndiceBusqueda = indice;
    QLineEdit* dato = fGENEBUSQ->findChild<QLineEdit*>(QStringLiteral("DatoABuscar"));
    dato->setText(inicial);
    resultado = fGENEBUSQ->ShowModal();
    claves = fGENEBUSQ->ClaveSeleccionada;
    dato->clear();
  }
  CondicionPendiente.clear();
  SeleccionPendiente.clear();
  if ((resultado != mrYes && resultado != mrOk) || claves.isEmpty()) return Variant::Null();
  QList<Variant> elementos;
  for (const QString& linea : claves.split(QStringLiteral("\r\n")))
    elementos.append(Variant::String(linea == u"NULL" ? QString() : linea));
  return Variant::Array(elementos);
}

int indiceDe(const QString& tabla, int indice) {
  const int propio = IndiceBusquedaTabla(tabla);
  return propio == -1 ? indice : propio;
}

}  // namespace

namespace Genebusc {

Variant BuscarDato(const QString& tabla, int indice) {
  if (tabla.isEmpty()) return Variant::Null();
  const QString fisica = NombreTablaFisica(tabla);
  const int elegido = indiceDe(fisica, indice);
  return buscar(fisica, elegido, textoInicial());
}

Variant BuscarDatoFiltrado(const QString& tabla, int indice, const QString& condicion) {
  CondicionPendiente = condicion;
  SeleccionPendiente.clear();
  return Genebusc::BuscarDato(tabla, indice);
}

Variant BuscarDatoPorDefecto(const QString& tabla, int indice, const QString& condicion, const QString& defecto) {
  CondicionPendiente = condicion;
  SeleccionPendiente.clear();
  TextoInicialPendiente = kPorDefecto + defecto;
  return Genebusc::BuscarDato(tabla, indice);
}

Variant BuscarRegistro(Dataset& dataset, int indice) {
  auto* tabla = qobject_cast<Table*>(&dataset);
  if (!tabla || tabla->TableName().isEmpty()) return Variant::Null();
  TextoInicialPendiente.clear();
  QString inicial = ClaveRegistro(dataset);
  inicial.chop(1);
  const Variant elegido = buscar(tabla->TableName(), indiceDe(tabla->TableName(), indice), inicial);
  if (elegido.IsNull()) return elegido;
  try {
    dataset.Locate(CamposClavePrimaria(tabla->TableName()), elegido);
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡No ha sido posible encontrar el dato solicitado!"));
  }
  return elegido;
}

RutinasBusqueda Rutinas() {
  RutinasBusqueda rutinas;
  rutinas.BuscarDato = &BuscarDato;
  rutinas.BuscarDatoFiltrado = &BuscarDatoFiltrado;
  rutinas.BuscarDatoPorDefecto = &BuscarDatoPorDefecto;
  rutinas.BuscarRegistro = &BuscarRegistro;
  return rutinas;
}

}  // namespace Genebusc
