#include "core/forms/PreparacionFormulario.h"

#include "core/connections/Conexiones.h"
#include "core/connections/TransaccionesConexion.h"
#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/forms/ControlesNoVisibles.h"
#include "core/forms/FormatosCampo.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/Propiedades.h"
#include "core/forms/TablasFormulario.h"
#include "core/forms/TraduccionElementos.h"
#include "core/helpers/Componentes.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/system/CursorEspera.h"
#include "core/tables/NombresTablas.h"
#include "platform/Form.h"
#include "platform/controls/Components.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>

bool DesactivarPuntoPorComaDecimal = false;

namespace {

const QString kSoloLectura = QStringLiteral("Solo Lectura");

QList<Table*> tablasConNombre(QObject& formulario) {
  QList<Table*> tablas;
  for (QObject* componente : Components(&formulario))
    if (auto* tabla = qobject_cast<Table*>(componente); tabla && !tabla->TableName().isEmpty()) tablas.append(tabla);
  return tablas;
}

void transaccionVacia() {
  if (!EsSQLServer() || !fGENEINIC) return;
  try {
    TransaccionVacia(*Conexiones(*fGENEINIC).Database);
  } catch (const std::exception&) {
    // a refused commit leaves the connection as the engine left it
  }
}

// Administrator mode: the hint of the control under the pointer goes to the
// main window's caption.
class HintsEnEstado : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* vigilado, QEvent* evento) override {
    if (evento->type() == QEvent::Enter && vigilado->isWidgetType()) {
      const QString hint = static_cast<QWidget*>(vigilado)->toolTip();
      if (!hint.isEmpty()) HintEnEstado(hint);
    }
    return false;
  }
};

void instalarHintEnEstado() {
  static QPointer<QObject> filtro;
  if (filtro || !qApp) return;
  filtro = new HintsEnEstado(qApp);
  qApp->installEventFilter(filtro);
}

// The double-click of a plain edit, while the form left it free.
class DobleClicBusqueda : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* vigilado, QEvent* evento) override {
    if (evento->type() == QEvent::MouseButtonDblClick && Ganchos().AsociarTablaBusqueda)
      Ganchos().AsociarTablaBusqueda(vigilado);
    return false;
  }
};

// A form set up again keeps one filter per edit: each would open a search.
void instalarDobleClic(QObject& edit) {
  for (QObject* hijo : edit.children())
    if (dynamic_cast<DobleClicBusqueda*>(hijo)) return;
  edit.installEventFilter(new DobleClicBusqueda(&edit));
}

void derechosPrograma(QObject& formulario) {
  auto* form = qobject_cast<Form*>(&formulario);
  if (!ModuloDatosListo || !form || !Ganchos().DerechoAccesoPrograma) return;
  const QString derecho = Ganchos().DerechoAccesoPrograma(CodigoUsuarioActual, form->Caption());
  if (derecho == kSoloLectura) SoloLecturaTablas(formulario);
  // The right's own routine has told the user; the form may not be used.
  if (derecho == QLatin1String("Ninguno")) QMetaObject::invokeMethod(form, &QWidget::close, Qt::QueuedConnection);
}

void ganchosTablas(QObject& formulario) {
  for (Table* tabla : tablasConNombre(formulario)) {
    if (!tabla->AfterPost)
      tabla->AfterPost = [](Dataset& dataset) {
        if (Ganchos().ComprobarResponsabilidadDocumental) Ganchos().ComprobarResponsabilidadDocumental(dataset);
      };
    if (!tabla->BeforeDelete) tabla->BeforeDelete = AntesDeBorrarRegistro;
  }
}

void ganchosFormulario(QObject& formulario) {
  auto* form = qobject_cast<Form*>(&formulario);
  if (!form) return;
  if (!form->OnCloseQuery) form->OnCloseQuery = CamposSinConfirmar;
  if (!form->OnMouseMove) form->OnMouseMove = [](Form&, QMouseEvent*) { RegistrarActividadRaton(); };
  if (!form->OnKeyDown) form->OnKeyDown = [](Form&, quint16&, Qt::KeyboardModifiers) { RegistrarActividadTeclado(); };
}

void documentacionElectronica(QObject& formulario) {
  QObject* menu = BuscarComponente(&formulario, QStringLiteral("DocumentacionElectronica1"));
  auto* tabla = qobject_cast<Table*>(BuscarComponente(&formulario, QStringLiteral("Table1")));
  if (!menu || !tabla) return;
  if (!TieneMetodo(&formulario, QStringLiteral("Table1AfterScroll"))) {
    QPointer<QObject> propietario(&formulario);
    tabla->AfterScroll = [propietario](Dataset&) {
      if (!propietario || !Ganchos().BuscarFormularioMDI || !Ganchos().BuscarFormularioMDI(QStringLiteral("fGENEDOCE")))
        return;
      EjecutarMetodo(propietario, QStringLiteral("DocumentacionElectronica1Click"),
                     BuscarComponente(propietario, QStringLiteral("DocumentacionElectronica1")));
    };
  }
  if (!TieneMetodo(&formulario, QStringLiteral("Table1BeforeDelete"))) tabla->BeforeDelete = AntesDeBorrarRegistro;
}

void listasTraducidas(const QList<QObject*>& componentes) {
  if (IdiomaActual.isEmpty()) return;
  for (QObject* componente : componentes) {
    if (auto* combo = qobject_cast<QComboBox*>(componente); combo && !combo->isEditable())
      TraducirElementos(*combo);
    else if (auto* lista = qobject_cast<QListWidget*>(componente))
      TraducirElementos(*lista);
  }
}

}  // namespace

void MarcarNombresControles(QObject& formulario) {
  {
    const CursorEspera espera;
    const QString propietario = formulario.objectName() + QLatin1Char('.');
    for (QObject* componente : Components(&formulario))
      if (TienePropiedad(componente, QStringLiteral("Hint")))
        EscribirPropiedad(componente, QStringLiteral("Hint"), propietario + componente->objectName());
  }
  if (ControlesNoVisibles.Count() == 0 && ModuloDatosListo)
    ControlesNoVisibles.SetText(LeerConfigUsuario(CodigoUsuarioActual, QStringLiteral("ControlesNoVisibles")));
}

void HintEnEstado(const QString& hint) {
  QWidget* principal = Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr;
  if (!principal) return;
  const qsizetype barra = hint.indexOf(u'|');
  principal->setWindowTitle(barra < 0 ? hint : hint.mid(barra + 1));
}

void CompletarPreparacion(QObject& formulario) {
  if (!ModoAdministradorActivado && ModoControlesNoVisiblesActivado) AplicarControlesNoVisibles(formulario);
  if (Ganchos().TraducirFormulario) Ganchos().TraducirFormulario(formulario);
}

void PrepararFormulario(QObject& formulario) {
  transaccionVacia();
  if (EsSQLServer()) {
    // The data layer names a server's tables without their owner "dbo.",
    // which the physical name carries.
    const CursorEspera espera;
    for (Table* tabla : tablasConNombre(formulario))
      if (!tabla->Active()) tabla->SetTableName(QuitarPrefijoTabla(NombreTablaFisica(tabla->TableName())));
  }
  {
    const CursorEspera espera;
    for (QObject* componente : Components(&formulario)) FormatoCampo(componente);
  }
  if (ModoAdministradorActivado) {
    instalarHintEnEstado();
    MarcarNombresControles(formulario);
  }
  derechosPrograma(formulario);
  ganchosTablas(formulario);
  ganchosFormulario(formulario);
  // The read-only switch may have opened tables again: their fields are new.
  for (QObject* componente : Components(&formulario))
    if (auto* campo = qobject_cast<Field*>(componente); campo && campo->FieldName() == QLatin1String("Cambio"))
      campo->setProperty("Alignment", int(Qt::AlignLeft));
  OcultarCamposRestringidos(formulario);
  if (Ganchos().ConmutarEuro) Ganchos().ConmutarEuro(formulario, QStringLiteral("Asignar"));
  if (ModuloDatosListo)
    DesactivarPuntoPorComaDecimal =
        LeerConfigUsuario(CodigoUsuarioActual, QStringLiteral("DesactivarPuntoPorComaDecimal"), QStringLiteral("NO")) ==
        QLatin1String("SI");
  if (QObject* previa = BuscarComponente(&formulario, QStringLiteral("VisualizacionPrevia")))
    EscribirPropiedad(previa, QStringLiteral("Checked"), VisualizacionPreviaActivada);
  documentacionElectronica(formulario);
  const QList<QObject*> componentes = Components(&formulario);
  listasTraducidas(componentes);
  for (QObject* componente : componentes)
    if (ComponentKind(componente) == QLatin1String("TEdit") && !componente->property("OnDblClick").toBool())
      instalarDobleClic(*componente);
  AplicarAspecto(formulario);
  CompletarPreparacion(formulario);
}
