#include "dialogs/Generini.h"

#include "core/datamodule/EditorRegistroINI.h"
#include "core/datamodule/GruposAnalisis.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Listas.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/PosicionFormulario.h"
#include "core/startup/TraduccionFormulario.h"
#include "dialogs/RejillaValores.h"
#include "platform/FormRegistry.h"
#include "platform/VirtualKeys.h"
#include "ui_GENERINI.h"

#include <QKeyEvent>

#include <algorithm>

TfGENERINI* fGENERINI = nullptr;

namespace {

const QString kSeparadorRango = QStringLiteral("...");

}  // namespace

TfGENERINI::TfGENERINI(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENERINI>()) {
  ui_->setupUi(this);
  estilo_ = new RejillaValores(*ui_->StringGrid);
  estilo_->PulsarElipsis = [this](int fila) { StringGridEditButtonClick(fila); };
  QPalette titulos = ui_->StringGrid->horizontalHeader()->palette();
  titulos.setColor(QPalette::ButtonText, Qt::darkBlue);
  ui_->StringGrid->horizontalHeader()->setPalette(titulos);
  connect(ui_->pbAceptar, &QPushButton::clicked, this, [this] {
    estilo_->ConfirmarEdicion();
    SetModalResult(mrOk);
  });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  // Before the grid's editor, which would only drop its own edit.
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla == VK::Escape)
      formulario.SetModalResult(mrCancel);
    else
      TeclasFormulario(formulario, tecla, estado);
  };
  OnKeyPress = PulsacionTecla;
  AplicarAspecto(*this);
  anchoCreacion_ = width();
  ColocarFormulario(*this, PosicionGENERINI);
  fGENERINI = this;
}

TfGENERINI::~TfGENERINI() {
  if (fGENERINI == this) fGENERINI = nullptr;
}

QTableWidget& TfGENERINI::StringGrid() { return *ui_->StringGrid; }

void TfGENERINI::showEvent(QShowEvent* event) {
  ui_->PanelControl->setVisible(true);
  // The opener measured the names as given; they are shown as words.
  QTableWidget& rejilla = *ui_->StringGrid;
  rejilla.setColumnWidth(0, std::max(rejilla.columnWidth(0), estilo_->AnchoNombres() + 10));
  const int alto = AlturaConRejilla(*ui_->StringGrid, ui_->PanelControl->sizeHint().height());
  setMaximumHeight(alto);
  resize(width(), alto);
  Form::showEvent(event);
  estilo_->EditorSiempreVisible();
  TraducirFormulario(this);
}

void TfGENERINI::hideEvent(QHideEvent* event) {
  GuardarPosicion(*this, PosicionGENERINI);
  PosicionGENERINI.Width = anchoCreacion_;
  Form::hideEvent(event);
}

void TfGENERINI::StringGridEditButtonClick(int fila) {
  const QTableWidgetItem* nombre = ui_->StringGrid->item(fila, 0);
  if (!nombre) return;
  const QString estilo = ValorLista(nombre->text(), estilosEdicion_);
  if (estilo.startsWith(QLatin1String("ELLIPSIS_RANGO"))) {
    pedirRango(fila);
  } else if (estilo.startsWith(QLatin1String("ELLIPSIS_GA")) && ui_->StringGrid->item(fila, 1)) {
    QTableWidgetItem* valor = ui_->StringGrid->item(fila, 1);
    const QString rangos = QString(valor->text()).replace(u'·', QLatin1String("\r\n"));
    valor->setText(SeleccionRangosGA(estilo.section(u':', 1), rangos).replace(QLatin1String("\r\n"), QString(u'·')));
  }
}

void TfGENERINI::pedirRango(int fila) {
  QTableWidgetItem* valor = ui_->StringGrid->item(fila, 1);
  if (!valor) return;
  const QString nombre = ui_->StringGrid->item(fila, 0)->text();
  QString desde = ExtraerElemento(0, valor->text(), kSeparadorRango);
  QString hasta = ExtraerElemento(1, valor->text(), kSeparadorRango);
  MensajePregunta(QStringLiteral("Introduzca el valor Desde para ") + nombre, desde);
  MensajePregunta(QStringLiteral("Introduzca el valor Hasta para ") + nombre, hasta);
  valor->setText(desde + kSeparadorRango + hasta);
}

void RegistrarGENERINI() {
  FormRegistry::Register(QLatin1String(kFormularioRegistroINI), [](QWidget* owner) { return new TfGENERINI(owner); });
}
