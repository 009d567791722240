#include "dialogs/Genetext.h"

#include "core/forms/AparienciaFormulario.h"
#include "core/services/EditorTexto.h"
#include "core/services/PosicionFormulario.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/FormRegistry.h"
#include "ui_GENETEXT.h"

TfGENETEXT* fGENETEXT = nullptr;

TfGENETEXT::TfGENETEXT(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENETEXT>()) {
  ui_->setupUi(this);
  connect(ui_->pbAceptar, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  ColocarFormulario(*this, PosicionGENETEXT);
  AplicarAspecto(*this);
  TraducirFormulario(this);
  fGENETEXT = this;
}

TfGENETEXT::~TfGENETEXT() {
  if (fGENETEXT == this) fGENETEXT = nullptr;
}

void TfGENETEXT::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  ui_->Memo1->setFocus();
}

void TfGENETEXT::hideEvent(QHideEvent* event) {
  GuardarPosicion(*this, PosicionGENETEXT);
  Form::hideEvent(event);
}

void RegistrarGENETEXT() {
  FormRegistry::Register(QLatin1String(kFormularioEditorTexto), [](QWidget* owner) { return new TfGENETEXT(owner); });
}
