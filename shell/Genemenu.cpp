#include "shell/Genemenu.h"

#include "core/startup/Configuracion.h"
#include "core/startup/Genepant.h"
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

void TfGENEMENU::FormShow() { LiberarPantallaPresentacion(); }
