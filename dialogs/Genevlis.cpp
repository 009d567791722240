#include "dialogs/Genevlis.h"

#include "core/datamodule/ExistenciaClave.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Letras.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/EditorTexto.h"
#include "core/services/RutinasBusqueda.h"
#include "core/services/SeleccionLista.h"
#include "core/services/VisorValores.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/tables/CamposUsuario.h"
#include "dialogs/RejillaValores.h"
#include "platform/FormRegistry.h"
#include "platform/VirtualKeys.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "ui_GENEVLIS.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QToolButton>

TfGENEVLIS* fGENEVLIS = nullptr;
PosicionFormulario PosicionGENEVLIS;

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QChar kSaltoMemo = QChar(0xB7);
const QChar kIgualMemo = QChar(0xFF);

bool modo(const char* nombre) { return ModoVisorGENEVLIS == QLatin1String(nombre); }

// The row's definition: check, name, values, options.
QStringList definicionFila(const QStringList& definiciones, const QString& nombre) {
  for (const QString& linea : definiciones)
    if (ExtraerElemento(1, linea, QStringLiteral(">")) == nombre) return linea.split(u'>');
  return {};
}

QString pieza(const QStringList& piezas, int indice) { return piezas.value(indice); }

}  // namespace

TfGENEVLIS::TfGENEVLIS(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEVLIS>()) {
  ui_->setupUi(this);
  QTableWidget& rejilla = *ui_->StringGrid;
  estilo_ = new RejillaValores(rejilla);
  estilo_->ColorNombres = Qt::darkBlue;
  estilo_->NombreMostrado = [this](const QString& nombre) { return nombreMostrado(nombre); };
  QFont negrita = rejilla.horizontalHeader()->font();
  negrita.setBold(true);
  rejilla.horizontalHeader()->setFont(negrita);
  QPalette titulos = rejilla.horizontalHeader()->palette();
  titulos.setColor(QPalette::ButtonText, Qt::darkBlue);
  rejilla.horizontalHeader()->setPalette(titulos);
  autoajustar_ = new QToolButton(rejilla.horizontalHeader());
  autoajustar_->setObjectName(QStringLiteral("pbAutoajustar"));
  autoajustar_->setToolTip(QStringLiteral("Autoajustar la primera columna al contenido"));
  autoajustar_->setGeometry(1, 1, 15, 14);
  connect(autoajustar_, &QToolButton::clicked, this, [this] { autoajustar(); });
  connect(&rejilla, &QTableWidget::cellDoubleClicked, this, [this](int fila, int) { EditarFila(fila); });
  connect(ui_->pbGrabar, &QPushButton::clicked, this, [this] {
    estilo_->ConfirmarEdicion();
    if (ValidarFilas()) SetModalResult(mrOk);
  });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  OnKeyDown = [this](Form&, quint16& tecla, Qt::KeyboardModifiers estado) { teclaPulsada(tecla, estado); };
  OnKeyPress = PulsacionTecla;
  anchoCreacion_ = width();
  ColocarFormulario(*this, PosicionGENEVLIS);
  AplicarAspecto(*this);
  fGENEVLIS = this;
}

TfGENEVLIS::~TfGENEVLIS() {
  if (fGENEVLIS == this) fGENEVLIS = nullptr;
  ModoVisorGENEVLIS.clear();
}

QTableWidget& TfGENEVLIS::StringGrid() { return *ui_->StringGrid; }

QString TfGENEVLIS::nombreMostrado(const QString& nombre) const {
  if (OpcionesVisor.contains(QLatin1String("RespetarNombresCampos"))) return nombre;
  return AbreviarNombre(nombre, 1);
}

void TfGENEVLIS::showEvent(QShowEvent* event) {
  QTableWidget& rejilla = *ui_->StringGrid;
  if (QTableWidgetItem* titulo = rejilla.horizontalHeaderItem(0))
    titulo->setText(QStringLiteral("      ") + titulo->text().trimmed());
  rejilla.setColumnWidth(0, rejilla.horizontalHeader()->defaultSectionSize());
  const bool consulta = modo("VisorCampos");
  ui_->PanelControl->setVisible(!consulta);
  if (consulta)
    SetCaption(QStringLiteral("Visor de Campos"));
  else if (modo("VisorCamposUsuario"))
    SetCaption(QStringLiteral("Introducción de Campos de Usuario"));
  if (consulta) rejilla.setEditTriggers(QAbstractItemView::NoEditTriggers);
  const int alto = AlturaConRejilla(rejilla, consulta ? 0 : ui_->PanelControl->sizeHint().height());
  setMaximumHeight(alto);
  resize(width(), alto);
  Form::showEvent(event);
  if (consulta)
    rejilla.setCurrentCell(0, 1);
  else
    estilo_->EditorSiempreVisible();
  rejilla.setFocus();
  TraducirFormulario(this);
}

void TfGENEVLIS::hideEvent(QHideEvent* event) {
  GuardarPosicion(*this, PosicionGENEVLIS);
  PosicionGENEVLIS.Width = anchoCreacion_;
  Form::hideEvent(event);
}

void TfGENEVLIS::autoajustar() {
  QTableWidget& rejilla = *ui_->StringGrid;
  const int ancho = estilo_->AnchoNombres() + 8;
  const int crecer = ancho - rejilla.columnWidth(0);
  if (crecer <= 8) return;
  rejilla.setColumnWidth(0, ancho);
  resize(width() + crecer, height());
}

void TfGENEVLIS::teclaPulsada(quint16& tecla, Qt::KeyboardModifiers estado) {
  const bool ctrl = estado == Qt::ControlModifier;
  const bool cerrar = tecla == VK::Escape || (modo("VisorCampos") && ctrl && tecla == 'Z') ||
                      (!modo("VisorCampos") && ctrl && tecla == VK::Add);
  if (cerrar) {
    SetModalResult(mrCancel);
    return;
  }
  if (tecla == VK::F2 && estado == Qt::NoModifier) {
    EditarFila(ui_->StringGrid->currentRow());
    return;
  }
  TeclasFormulario(*this, tecla, estado);
}

void TfGENEVLIS::EditarFila(int fila) {
  QTableWidget& rejilla = *ui_->StringGrid;
  const QTableWidgetItem* celda = rejilla.item(fila, 0);
  if (!celda || RejillaValores::FilaBloqueada(rejilla, fila)) return;
  const QString nombre = celda->text();
  estilo_->ConfirmarEdicion();
  if (modo("VisorCamposUsuario") && fGENEINIC) {
    Table& campos = CamposUsuario(*fGENEINIC);
    if (campos.Active()) {
      for (campos.First(); !campos.Eof(); campos.Next()) {
        const QString conexion = campos.FieldByName(QStringLiteral("NombreTablaConexion")).AsString();
        if (campos.FieldByName(QStringLiteral("NombreCampo")).AsString() == nombre && !conexion.isEmpty()) {
          buscarEnTabla(fila, conexion);
          break;
        }
      }
    }
  } else if (modo("VisorAgregarDatos")) {
    const QStringList definicion = definicionFila(DefinicionesFilas, nombre);
    const QString control = pieza(definicion, 0);
    if (control.contains(u'?')) {
      const QString elegido = SeleccionarDeLista(
          QStringLiteral("Titulo=Selección de ") + SepararPalabras(nombre) + kCRLF + QStringLiteral("Modo=Normal"),
          pieza(definicion, 2).split(u'/').join(kCRLF));
      rejilla.item(fila, 1)->setText(elegido);
    } else if (!control.isEmpty()) {
      buscarEnTabla(fila, control);
    }
  }
  editarMemo(fila, nombre);
}

void TfGENEVLIS::buscarEnTabla(int fila, const QString& tabla) {
  const Variant elegido = BuscarDato(tabla, 0);
  if (elegido.IsNullOrEmpty()) return;
  const Variant clave = elegido.Elements().isEmpty() ? elegido : elegido.Elements().first();
  ui_->StringGrid->item(fila, 1)->setText(clave.AsString());
}

void TfGENEVLIS::editarMemo(int fila, const QString& nombre) {
  QStringList lineas = ContenidosMemo.split(kCRLF);
  const QString prefijo = nombre + kIgualMemo;
  for (QString& linea : lineas) {
    if (!linea.startsWith(prefijo) || linea.size() == prefijo.size()) continue;
    QString texto = linea.mid(prefijo.size()).replace(kSaltoMemo, kCRLF);
    texto = EditarTexto(QStringLiteral("Titulo=Contenido del Campo: ") + AbreviarNombre(nombre, 1) + kCRLF +
                            QStringLiteral("Formato=0,0,400,500"),
                        texto)
                .replace(kCRLF, QString(kSaltoMemo));
    ui_->StringGrid->item(fila, 1)->setText(texto);
    // Opened again, the row starts from what was edited.
    linea = prefijo + texto;
    ContenidosMemo = lineas.join(kCRLF);
    return;
  }
}

bool TfGENEVLIS::ValidarFilas() {
  if (!modo("VisorAgregarDatos")) return true;
  const QTableWidget& rejilla = *ui_->StringGrid;
  bool valido = true;
  for (int fila = 0; fila < rejilla.rowCount(); ++fila) {
    const QTableWidgetItem* nombre = rejilla.item(fila, 0);
    if (!nombre) continue;
    const QStringList definicion = definicionFila(DefinicionesFilas, nombre->text());
    const QString control = pieza(definicion, 0);
    const QString valor = rejilla.item(fila, 1) ? rejilla.item(fila, 1)->text() : QString();
    if (control.contains(u'?')) {
      const QStringList valores = pieza(definicion, 2).split(u'/');
      if (!valores.contains(valor, Qt::CaseInsensitive)) {
        MensajeAviso(QStringLiteral("¡El valor para el campo ") + SepararPalabras(nombre->text()) +
                     QStringLiteral(" es incorrecto!"));
        valido = false;
      }
    } else if (!control.isEmpty() && !pieza(definicion, 3).contains(QLatin1String("NoValidar")) &&
               !ExisteClaveEnTabla(control, valor)) {
      MensajeAviso(QStringLiteral("¡No existe el valor para el campo ") + SepararPalabras(nombre->text()) +
                   QStringLiteral("!"));
      valido = false;
    }
  }
  return valido;
}

void RegistrarGENEVLIS() {
  FormRegistry::Register(QLatin1String(kFormularioVisorValores), [](QWidget* owner) { return new TfGENEVLIS(owner); });
}
