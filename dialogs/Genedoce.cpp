#include "dialogs/Genedoce.h"

#include "ui_GENEDOCE.h"

TfGENEDOCE* fGENEDOCE = nullptr;

TfGENEDOCE::TfGENEDOCE(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEDOCE>()) { ui_->setupUi(this); }

TfGENEDOCE::~TfGENEDOCE() {
  if (fGENEDOCE == this) fGENEDOCE = nullptr;
}
