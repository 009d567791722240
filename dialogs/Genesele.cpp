#include "dialogs/Genesele.h"

#include "core/forms/PreparacionFormulario.h"
#include "core/forms/TeclasFormulario.h"
#include "core/services/PosicionFormulario.h"
#include "core/services/SeleccionLista.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/FormRegistry.h"
#include "ui_GENESELE.h"

#include <QMenuBar>

TfGENESELE* fGENESELE = nullptr;

TfGENESELE::TfGENESELE(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENESELE>()) {
  ui_->setupUi(this);
  auto* barra = new QMenuBar(this);
  QMenu* opciones = barra->addMenu(QStringLiteral("Opciones"));
  opciones->setObjectName(QStringLiteral("Opciones1"));
  const struct {
    const char* nombre;
    QString texto;
    void (TfGENESELE::*orden)();
  } ordenes[] = {
      {"Seleccionartodo1", QStringLiteral("Seleccionar todo"), &TfGENESELE::SeleccionarTodo},
      {"Deseleccionartodo1", QStringLiteral("Deseleccionar todo"), &TfGENESELE::DeseleccionarTodo},
      {"Invertirlaseleccion1", QStringLiteral("Invertir la selección"), &TfGENESELE::InvertirSeleccion},
      {"Restaurarlaseleccioninicial1", QStringLiteral("Restaurar la selección inicial"),
       &TfGENESELE::RestaurarSeleccionInicial},
  };
  for (const auto& orden : ordenes) {
    QAction* accion = opciones->addAction(orden.texto, this, orden.orden);
    accion->setObjectName(QLatin1String(orden.nombre));
  }
  layout()->setMenuBar(barra);
  connect(ui_->pbAceptar, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrIgnore); });
  connect(ui_->ListBox1, &QListWidget::itemDoubleClicked, this, [this] { SetModalResult(mrOk); });
  OnKeyDown = TeclasFormulario;
  OnKeyPress = PulsacionTecla;
  ColocarFormulario(*this, PosicionGENESELE);
  PrepararFormulario(*this);
  fGENESELE = this;
}

TfGENESELE::~TfGENESELE() {
  if (fGENESELE == this) fGENESELE = nullptr;
}

QListWidget& TfGENESELE::ListBox1() const { return *ui_->ListBox1; }

QString TfGENESELE::indiceEntrecomillado(int indice) { return u'"' + QString::number(indice) + u'"'; }

void TfGENESELE::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  seleccionInicial_.clear();
  for (int i = 0; i < ui_->ListBox1->count(); ++i)
    if (ui_->ListBox1->item(i)->isSelected()) seleccionInicial_ += indiceEntrecomillado(i);
  ui_->pbAceptar->setFocus();
  TraducirFormulario(this);
}

void TfGENESELE::hideEvent(QHideEvent* event) {
  GuardarPosicion(*this, PosicionGENESELE);
  Form::hideEvent(event);
}

void TfGENESELE::SeleccionarTodo() {
  for (int i = 0; i < ui_->ListBox1->count(); ++i) ui_->ListBox1->item(i)->setSelected(true);
}

void TfGENESELE::DeseleccionarTodo() {
  for (int i = 0; i < ui_->ListBox1->count(); ++i) ui_->ListBox1->item(i)->setSelected(false);
}

void TfGENESELE::InvertirSeleccion() {
  for (int i = 0; i < ui_->ListBox1->count(); ++i)
    ui_->ListBox1->item(i)->setSelected(!ui_->ListBox1->item(i)->isSelected());
}

void TfGENESELE::RestaurarSeleccionInicial() {
  for (int i = 0; i < ui_->ListBox1->count(); ++i)
    ui_->ListBox1->item(i)->setSelected(seleccionInicial_.contains(indiceEntrecomillado(i)));
}

void RegistrarGENESELE() {
  FormRegistry::Register(QLatin1String(kFormularioSeleccionLista), [](QWidget* owner) { return new TfGENESELE(owner); });
}
