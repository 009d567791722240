#include "core/forms/TeclasFormulario.h"

#include "core/datamodule/CamposHora.h"
#include "core/datamodule/CopiaPorClave.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/InstantaneaRegistro.h"
#include "core/datamodule/ResponsabilidadDocumental.h"
#include "core/datamodule/TextosPlantilla.h"
#include "core/datamodule/ValoresControl.h"
#include "core/forms/ColumnasRejilla.h"
#include "core/forms/ContextoImpresos.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/helpers/Calculadora.h"
#include "core/helpers/Componentes.h"
#include "core/messages/MensajeSistema.h"
#include "core/progress/Geneprog.h"
#include "core/services/FormularioRegistrado.h"
#include "core/services/HistorialAccesos.h"
#include "core/services/Mensajeria.h"
#include "core/services/VisorCampos.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/CommonDialogs.h"
#include "platform/Form.h"
#include "platform/VirtualKeys.h"
#include "platform/controls/Components.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DBLookupComboBox.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <QAbstractButton>
#include <QAction>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

constexpr qsizetype kLongitudHistorial = 10000;
const QString kAviso = QStringLiteral("El registro está siendo bloqueado por otro usuario");

bool es(const QWidget* control, const char* clase) { return ComponentKind(control) == QLatin1String(clase); }
bool esRejilla(const QWidget* control) { return es(control, "TDBGrid"); }
bool esMemo(const QWidget* control) { return es(control, "TDBMemo") || es(control, "TMemo"); }

bool editando(const Dataset* dataset) {
  return dataset && (dataset->State() == dsEdit || dataset->State() == dsInsert || dataset->State() == dsSetKey);
}
bool navegando(const Dataset* dataset) { return dataset && dataset->State() == dsBrowse; }

Dataset* datasetDe(const DataSource* fuente) { return fuente ? fuente->DataSet() : nullptr; }
Dataset* datasetFuente1(Form& formulario) {
  return datasetDe(qobject_cast<DataSource*>(BuscarComponente(&formulario, QStringLiteral("DataSource1"))));
}

// The field a grid or a DB edit shows; none for other controls.
Field* campoDe(QWidget* activo) {
  if (esRejilla(activo)) return static_cast<DBGrid*>(activo)->SelectedField();
  if (es(activo, "TDBEdit")) return static_cast<DBEdit*>(activo)->BoundField();
  if (es(activo, "TDBMemo")) return static_cast<DBMemo*>(activo)->BoundField();
  return nullptr;
}

void anotarTecla(quint16 tecla, Qt::KeyboardModifiers estado) {
  UltimaTeclaPulsada = tecla;
  if (!fGENEINIC) return;
  QString& historial = fGENEINIC->HistorialTeclas;
  if (historial.size() > kLongitudHistorial) historial.clear();
  historial += estado == Qt::NoModifier && tecla >= 40 && tecla <= 122 ? QChar(tecla) : u'|';
  while (historial.contains(QLatin1String("||"))) historial.replace(QLatin1String("||"), QLatin1String("|"));
}

void alternarAgregar(Form& formulario) {
  auto* agregar = qobject_cast<QAction*>(BuscarComponente(&formulario, QStringLiteral("Agregar")));
  if (!agregar) return;
  agregar->setCheckable(true);
  agregar->setChecked(!agregar->isChecked());
  agregar->setText(agregar->isChecked() ? QStringLiteral("&Agregar con Duplicación") : QStringLiteral("&Agregar"));
}

void copiarDeUltimoRango(DBGrid& rejilla, Dataset* dataset) {
  auto* tabla = qobject_cast<Table*>(dataset);
  Field* campo = rejilla.SelectedField();
  if (tabla && campo) CopiarCampoDeRegistro(*tabla, campo->FieldName(), UltimaClaveRango(*tabla));
}

void elegirFuente(QWidget& control) {
  QFontDialog local;
  QFontDialog& dialogo = ModuloDatos ? *ModuloDatos->FontDialog1 : local;
  dialogo.setCurrentFont(control.font());
  if (!CommonDialogsSeam::Get().Execute(dialogo)) return;
  const QFont fuente = dialogo.selectedFont();
  if (auto* rejilla = qobject_cast<DBGrid*>(&control)) {
    rejilla->SetTitleFont(fuente);
    rejilla->SetTitleFontColor(QColor(0, 0, 128));
  }
  control.setFont(fuente);
}

// The calculator on a float field, in edit mode; another program's lock is
// told and nothing is written. A calculator that fails leaves the record as
// it was, its lock let go.
void calcular(Field& campo) {
  Dataset& dataset = *campo.DataSet();
  const bool yaEditando = editando(&dataset);
  try {
    if (!yaEditando) dataset.Edit();
  } catch (const std::exception&) {
    MensajeAviso(kAviso);
    return;
  }
  try {
    campo.SetAsFloat(Calculadora(campo.AsFloat()));
  } catch (const std::exception&) {
    if (!yaEditando) dataset.Cancel();
    throw;
  }
}

void teclaF2(Form& formulario, QWidget* activo) {
  const QString buscar = QStringLiteral("BuscarDatosDBEdit");
  Field* campo = campoDe(activo);
  if (esRejilla(activo)) {
    auto* rejilla = static_cast<DBGrid*>(activo);
    if (campo && campo->DataType() == ftFloat)
      calcular(*campo);
    else if (rejilla->OnDblClick)
      rejilla->OnDblClick(*rejilla);
  } else if (es(activo, "TDBEdit")) {
    if (campo && campo->DataType() == ftFloat)
      calcular(*campo);
    else
      EjecutarMetodo(&formulario, buscar, activo);
  } else if (TieneMetodo(&formulario, buscar)) {
    EjecutarMetodo(&formulario, buscar, activo);
  } else if (es(activo, "TEdit") && Ganchos().AsociarTablaBusqueda) {
    Ganchos().AsociarTablaBusqueda(activo);
  }
}

// The code is the last word typed for a grid, the control's text otherwise.
void plantilla(QWidget* activo) {
  QString codigo;
  if (esRejilla(activo)) {
    const QStringList palabras = fGENEINIC ? fGENEINIC->HistorialTeclas.split(u'|') : QStringList();
    if (palabras.size() >= 2) codigo = palabras[palabras.size() - 2];
  } else if (auto* edit = qobject_cast<QLineEdit*>(activo)) {
    codigo = edit->text();
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(activo)) {
    codigo = memo->toPlainText();
  } else {
    return;
  }
  const QString texto = TextoPlantilla(codigo);
  if (texto.isEmpty()) return;
  if (Field* campo = campoDe(activo)) {
    if (!editando(campo->DataSet())) campo->DataSet()->Edit();
    campo->SetAsString(texto);
  } else if (auto* edit = qobject_cast<QLineEdit*>(activo)) {
    edit->setText(texto);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(activo)) {
    memo->setPlainText(texto);
  }
}

void ocultarControl(Form& formulario) {
  QWidget* principal = Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr;
  if (!principal) return;
  const QString nombre = principal->windowTitle().section(u' ', 0, 0, QString::SectionSkipEmpty);
  if (!nombre.contains(u'.')) return;
  auto* rejilla = qobject_cast<DBGrid*>(BuscarComponente(&formulario, nombre.section(u'.', 1, 1)));
  if (!rejilla) {
    ControlesNoVisibles.Add(nombre);
    return;
  }
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿Desea agregar la rejilla completa a la lista de controles?"), respuesta);
  if (respuesta == QLatin1String("SI")) {
    ControlesNoVisibles.Add(nombre);
  } else if (!rejilla->Source()) {
    MensajeAviso(QStringLiteral("¡No ha sido agregada la columna a la lista de controles!. Intente activar los "
                                "datos asociados a la rejilla."));
  } else if (Dataset* dataset = datasetDe(rejilla->Source()); dataset && dataset->FieldCount() > 0) {
    if (Field* campo = rejilla->SelectedField()) ControlesNoVisibles.Add(nombre + u'.' + ComponentName(campo));
  }
}

void seleccionarBotonFinal(Form& formulario) {
  for (const char* nombre : {"pbAceptar", "pbGrabar"})
    if (auto* boton = qobject_cast<QWidget*>(BuscarComponente(&formulario, QLatin1String(nombre)))) {
      boton->setFocus();
      return;
    }
}

// The key a control holds: a lookup combo's chosen key, an edit's text.
Variant valorClave(QWidget& control) {
  if (auto* lista = qobject_cast<DBLookupComboBox*>(&control)) return lista->KeyValue();
  if (auto* edit = qobject_cast<QLineEdit*>(&control)) return Variant::String(edit->text());
  if (auto* combo = qobject_cast<QComboBox*>(&control)) return Variant::String(combo->currentText());
  return Variant::String(QString());
}

// The printed-form definitions on the key of the form's printed-form field,
// modally and on their own.
void abrirImpresos(QWidget& campo) {
  const QString clase = QStringLiteral("TfGENEIMPR");
  ContextoImpresos = QStringLiteral("Contexto");
  std::unique_ptr<Form> impresos = CrearFormularioRegistrado(clase);
  if (!impresos) {
    ContextoImpresos.clear();
    FormularioNoDisponible(clase);
  }
  impresos->setObjectName(QStringLiteral("fGENEIMPR"));
  if (auto* tabla = qobject_cast<Table*>(BuscarComponente(impresos.get(), QStringLiteral("Table1"))))
    if (tabla->Active()) tabla->FindKey({valorClave(campo)});
  impresos->ShowModal();
  ContextoImpresos.clear();
}

void ejecutarSinErrores(const std::function<void()>& accion) {
  try {
    accion();
  } catch (const std::exception&) {
  }
}

}  // namespace

QWidget* ControlActivo(Form& formulario) {
  QWidget* foco = formulario.focusWidget();
  for (QWidget* w = foco; w && w != &formulario; w = w->parentWidget())
    if (qobject_cast<QAbstractItemView*>(w)) return w;
  for (QWidget* w = foco; w && w != &formulario; w = w->parentWidget())
    if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))) return w;
  return foco;
}

Dataset* DatasetActual(Form& formulario, QWidget* activo) {
  if (esRejilla(activo)) return datasetDe(static_cast<DBGrid*>(activo)->Source());
  if (es(activo, "TDBEdit")) return datasetDe(static_cast<DBEdit*>(activo)->Source());
  return datasetFuente1(formulario);
}

void TeclasFormulario(Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
  anotarTecla(tecla, estado);
  QWidget* activo = ControlActivo(formulario);
  const bool rejilla = esRejilla(activo);
  auto* grid = rejilla ? static_cast<DBGrid*>(activo) : nullptr;
  Dataset* dataset = DatasetActual(formulario, activo);
  const bool nada = estado == Qt::NoModifier, ctrl = estado == Qt::ControlModifier,
             ctrlAlt = estado == (Qt::ControlModifier | Qt::AltModifier), shift = estado == Qt::ShiftModifier;

  if (tecla == VK::Return && nada && !esMemo(activo)) tecla = VK::Tab;
  if (tecla == VK::F5 && ctrl) ejecutarSinErrores([&] { alternarAgregar(formulario); });
  if (tecla == VK::F5 && shift && rejilla && editando(dataset)) copiarDeUltimoRango(*grid, dataset);
  if (tecla == 'C' && ctrlAlt && rejilla && dataset) CamposHoraRegistro(*dataset);
  if (tecla == 'V' && ctrlAlt && rejilla && editando(dataset)) RestaurarCamposRegistro(*dataset, QStringLiteral("SinIndices"));
  if (tecla == 'L' && ctrl && activo && (rejilla || es(activo, "TStringGrid") || es(activo, "TMemo"))) elegirFuente(*activo);
  if (tecla == 'Z' && ctrl && dataset) VisorCampos(*dataset);
  if (tecla == VK::Add && ctrl) {
    Dataset* usuario = rejilla ? dataset : datasetFuente1(formulario);
    if (navegando(usuario) && Ganchos().VisorCamposUsuario) Ganchos().VisorCamposUsuario(*usuario);
  }
  if (tecla == 'R' && ctrl) {
    Dataset* responsable = rejilla ? dataset : datasetFuente1(formulario);
    if (auto* tabla = qobject_cast<Table*>(responsable); tabla && (rejilla || navegando(tabla)))
      ResponsabilidadDocumental(*tabla);
  }
  if (tecla == 'G' && ctrl && rejilla) AjustarColumnasRejilla(*grid);
  if (tecla == 'H' && ctrl && rejilla) grid->RestoreDefaults();
  if (tecla == VK::F2 && nada) teclaF2(formulario, activo);
  if (tecla == 'B' && ctrl)
    if (auto* boton = qobject_cast<QAbstractButton*>(BuscarComponente(&formulario, QStringLiteral("pbBusquedaEspecial"))))
      ejecutarSinErrores([&] { boton->click(); });
  if (tecla == 'I' && ctrl && activo) AsignarValorControl(activo);
  if (tecla == 'S' && ctrl && rejilla) grid->SetGridOptions(grid->GridOptions() ^ DBGrid::dgMultiSelect);
  if (tecla == 'T' && ctrl) plantilla(activo);
  if (tecla == VK::F8 && nada && ModoAdministradorActivado) ocultarControl(formulario);
  if (tecla == VK::F3 && nada) seleccionarBotonFinal(formulario);
  if (tecla == VK::Return && ctrl && rejilla)
    EjecutarMetodo(&formulario, activo->objectName() + QStringLiteral("EditButtonClick"), activo);
  if (tecla == 'M' && ctrl) AbrirMensajeria(QString());
  if (tecla == VK::Escape) CancelarListado = true;
  if (tecla == 'P' && ctrl && activo && activo->objectName() == QLatin1String("EditFormatoImpreso")) abrirImpresos(*activo);
  if (tecla == 'A' && ctrl && dataset) HistorialAccesos(*dataset);
  if (tecla == 'D' && ctrl)
    if (QObject* documentacion = BuscarComponente(&formulario, QStringLiteral("DocumentacionElectronica1")))
      EjecutarMetodo(&formulario, QStringLiteral("DocumentacionElectronica1Click"), documentacion);
}

void PulsacionTecla(Form& formulario, QChar& tecla) {
  QWidget* activo = ControlActivo(formulario);
  if (tecla == u'\r') {
    if (esRejilla(activo) || es(activo, "TStringGrid")) {
      tecla = u'\t';
    } else if (!esMemo(activo)) {
      tecla = QChar();
      formulario.PostSelectNext();
    }
  }
  if (UltimaTeclaPulsada != VK::Decimal || tecla != u'.') return;
  Field* campo = esRejilla(activo) || es(activo, "TDBEdit") ? campoDe(activo) : nullptr;
  const bool hora = campo && EsCampoHora(*campo);
  if (!DesactivarPuntoPorComaDecimal && !hora) tecla = u',';
  if (tecla == u'.' && hora) tecla = u':';
}
