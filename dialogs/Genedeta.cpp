#include "dialogs/Genedeta.h"

#include "ui_GENEDETA.h"

TfGENEDETA* fGENEDETA = nullptr;

TfGENEDETA::TfGENEDETA(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEDETA>()) { ui_->setupUi(this); }

TfGENEDETA::~TfGENEDETA() {
  if (fGENEDETA == this) fGENEDETA = nullptr;
}
