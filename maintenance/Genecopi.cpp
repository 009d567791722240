#include "maintenance/Genecopi.h"

#include "ui_GENECOPI.h"

TfGENECOPI* fGENECOPI = nullptr;

TfGENECOPI::TfGENECOPI(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENECOPI>()) { ui_->setupUi(this); }

TfGENECOPI::~TfGENECOPI() {
  if (fGENECOPI == this) fGENECOPI = nullptr;
}
