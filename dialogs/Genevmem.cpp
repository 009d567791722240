#include "dialogs/Genevmem.h"

#include "ui_GENEVMEM.h"

TfGENEVMEM* fGENEVMEM = nullptr;

TfGENEVMEM::TfGENEVMEM(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEVMEM>()) { ui_->setupUi(this); }

TfGENEVMEM::~TfGENEVMEM() {
  if (fGENEVMEM == this) fGENEVMEM = nullptr;
}
