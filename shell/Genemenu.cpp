#include "shell/Genemenu.h"

#include "ui_GENEMENU.h"

TfGENEMENU* fGENEMENU = nullptr;

TfGENEMENU::TfGENEMENU(QWidget* parent) : QMainWindow(parent), ui_(std::make_unique<Ui::TfGENEMENU>()) {
  ui_->setupUi(this);
}

TfGENEMENU::~TfGENEMENU() {
  if (fGENEMENU == this) fGENEMENU = nullptr;
}
