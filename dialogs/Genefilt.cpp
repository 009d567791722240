#include "dialogs/Genefilt.h"

#include "ui_GENEFILT.h"

TfGENEFILT* fGENEFILT = nullptr;

TfGENEFILT::TfGENEFILT(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEFILT>()) { ui_->setupUi(this); }

TfGENEFILT::~TfGENEFILT() {
  if (fGENEFILT == this) fGENEFILT = nullptr;
}
