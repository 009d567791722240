#include "shell/Genemenu.h"

#include "core/datamodule/IdentificacionUsuario.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Genepant.h"
#include "platform/Application.h"
#include "ui_GENEMENU.h"

TfGENEMENU* fGENEMENU = nullptr;

TfGENEMENU::TfGENEMENU(QWidget* parent) : QMainWindow(parent), ui_(std::make_unique<Ui::TfGENEMENU>()) {
  ui_->setupUi(this);
  AspectoPorDefecto = QStringLiteral("evo+");
}

TfGENEMENU::~TfGENEMENU() {
  if (fGENEMENU == this) fGENEMENU = nullptr;
}

void TfGENEMENU::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!mostrado_) {
    mostrado_ = true;
    FormShow();
  }
}

void TfGENEMENU::FormShow() {
  if (!IdentificarUsuario(CodigoUsuarioActual)) {
    close();
    if (Application* application = Application::Instance()) application->Terminate();
  }
  LiberarPantallaPresentacion();
}
