#include "printing/Genecpro.h"

#include "ui_GENECPRO.h"

TfGENECPRO* fGENECPRO = nullptr;

TfGENECPRO::TfGENECPRO(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENECPRO>()) { ui_->setupUi(this); }

TfGENECPRO::~TfGENECPRO() {
  if (fGENECPRO == this) fGENECPRO = nullptr;
}
