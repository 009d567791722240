#include "core/forms/ControlesNoVisibles.h"

#include "core/datamodule/CamposNoVisibles.h"
#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/Propiedades.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/controls/Components.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include <QApplication>
#include <QTabWidget>

namespace {

const QString kClave = QStringLiteral("ControlesNoVisibles");

bool enLista(const QString& nombre) { return ControlesNoVisibles.IndexOf(nombre) >= 0; }

// A page of a page control: its tab is hidden, the page kept.
bool ocultarPestana(QObject* control) {
  QObject* pila = control->parent();
  auto* paginas = pila ? qobject_cast<QTabWidget*>(pila->parent()) : nullptr;
  if (!paginas) return false;
  const int indice = paginas->indexOf(qobject_cast<QWidget*>(control));
  if (indice < 0) return false;
  paginas->setTabVisible(indice, false);
  return true;
}

Dataset* datasetDe(const DBGrid& rejilla) { return rejilla.Source() ? rejilla.Source()->DataSet() : nullptr; }

}  // namespace

void OcultarColumnaRejilla(DBGrid& rejilla, const QString& campo) { rejilla.SetFieldVisible(campo, false); }

void AplicarControlesNoVisibles(QObject& formulario) {
  if (!ModuloDatosListo) return;
  QString lista = LeerConfigUsuario(CodigoUsuarioActual, kClave);
  if (lista.isEmpty()) return;
  ControlesNoVisibles.SetText(lista.replace(QLatin1Char(','), QStringLiteral("\r\n")));
  const QString forma = formulario.objectName() + QLatin1Char('.');
  for (QObject* componente : Components(&formulario)) {
    if (!IsControl(componente)) continue;
    const QString nombre = forma + componente->objectName();
    if (enLista(nombre) && !ocultarPestana(componente) && TienePropiedad(componente, QStringLiteral("Visible")))
      EscribirPropiedad(componente, QStringLiteral("Visible"), false);
    auto* rejilla = qobject_cast<DBGrid*>(componente);
    Dataset* dataset = rejilla ? datasetDe(*rejilla) : nullptr;
    if (!dataset) continue;
    // The fields a closed dataset will make are not known yet: the entries
    // name them.
    const QString columna = nombre + QLatin1Char('.') + dataset->objectName();
    for (const QString& entrada : ControlesNoVisibles.Lines())
      if (entrada.size() > columna.size() && entrada.startsWith(columna, Qt::CaseInsensitive))
        OcultarColumnaRejilla(*rejilla, entrada.mid(columna.size()));
  }
}

void ListaControlesNoVisibles() {
  // The MDI children live inside the main window, not among the windows.
  QList<Form*> formularios;
  for (QWidget* ventana : QApplication::topLevelWidgets()) {
    if (auto* formulario = qobject_cast<Form*>(ventana)) formularios.append(formulario);
    formularios += ventana->findChildren<Form*>();
  }
  for (auto cada = formularios.crbegin(); cada != formularios.crend(); ++cada) {
    Form* formulario = *cada;
    const QString nombre = formulario->objectName();
    if (nombre.startsWith(QLatin1String("fGE")) && nombre != QLatin1String("fGENEGANA")) continue;
    if (Ganchos().RegistrarUso) Ganchos().RegistrarUso(QStringLiteral("Close"), *formulario);
  }
  if (!ModoAdministradorActivado || ControlesNoVisibles.Count() == 0) return;
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿Desea ver la Lista de Controles No Visibles?"), respuesta);
  if (respuesta == QLatin1String("SI") && Ganchos().MostrarDetalle)
    Ganchos().MostrarDetalle(ControlesNoVisibles.Text(), QStringLiteral("Controles No Visibles"), QString());
  respuesta.clear();
  MensajePregunta(QStringLiteral("Introduzca los Códigos de Usuario (separados por coma) a los que desea asignar "
                                 "la lista de Controles No Visibles: "),
                  respuesta);
  QString texto = ControlesNoVisibles.Text();
  texto.replace(QStringLiteral("\r\n"), QStringLiteral(","));
  for (int i = 0;; ++i) {
    const QString usuario = ExtraerElemento(i, respuesta, QStringLiteral(","));
    if (usuario.isEmpty()) break;
    QString presente = LeerConfigUsuario(usuario, kClave);
    // Two lists run together would merge their last and first names.
    if (!presente.isEmpty() && !presente.endsWith(QLatin1Char(','))) presente += QLatin1Char(',');
    GrabarConfigUsuario(usuario, kClave, presente + texto);
  }
}

void CamposSinConfirmar(Form& formulario, bool& canClose) {
  QList<Dataset*> pendientes;
  QString nombres;
  for (QObject* componente : Components(&formulario)) {
    auto* dataset = qobject_cast<Dataset*>(componente);
    if (!dataset) continue;
    const DataSetState estado = dataset->State();
    if (estado != dsEdit && estado != dsInsert && estado != dsSetKey) continue;
    pendientes.append(dataset);
    nombres += dataset->objectName() + QStringLiteral(", ");
  }
  if (pendientes.isEmpty()) return;
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("Hay registros de ") + formulario.Caption() + QStringLiteral(" (") + nombres +
                          QStringLiteral(") ") +
                          QStringLiteral(" cuya grabación no ha sido confirmada. ¿Desea cancelar la grabación?"),
                      respuesta);
  for (Dataset* dataset : pendientes) {
    if (respuesta == QLatin1String("SI") || dataset->FieldCount() == 0 || dataset->Fields(0).Text().isEmpty()) {
      dataset->Cancel();
      continue;
    }
    try {
      dataset->Post();
    } catch (const Abort&) {
      canClose = false;
    } catch (const Exception& error) {
      // The record stays on the form, to be put right or cancelled.
      MensajeAviso(QStringLiteral("TRADUCIR: ") + error.Message());
      canClose = false;
    }
  }
}

void OcultarCamposRestringidos(QObject& formulario) {
  if (CamposNoVisiblesUsuario.isEmpty()) return;
  for (QObject* componente : Components(&formulario)) {
    if (auto* rejilla = qobject_cast<DBGrid*>(componente)) {
      for (int columna = 0; columna < rejilla->ColumnCount(); ++columna)
        if (CampoNoVisible(rejilla->ColumnFieldName(columna))) rejilla->SetColumnVisible(columna, false);
      if (Dataset* dataset = datasetDe(*rejilla))
        for (int i = 0; i < dataset->FieldCount(); ++i)
          if (CampoNoVisible(dataset->Fields(i).FieldName())) OcultarColumnaRejilla(*rejilla, dataset->Fields(i).FieldName());
      continue;
    }
    if (IsControl(componente) && TienePropiedad(componente, QStringLiteral("DataField")) &&
        CampoNoVisible(LeerPropiedad(componente, QStringLiteral("DataField")).toString()))
      EscribirPropiedad(componente, QStringLiteral("Visible"), false);
  }
}
