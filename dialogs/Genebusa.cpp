#include "dialogs/Genebusa.h"

#include "ui_GENEBUSA.h"

TfGENEBUSA* fGENEBUSA = nullptr;

TfGENEBUSA::TfGENEBUSA(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEBUSA>()) { ui_->setupUi(this); }

TfGENEBUSA::~TfGENEBUSA() {
  if (fGENEBUSA == this) fGENEBUSA = nullptr;
}
