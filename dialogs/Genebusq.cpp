#include "dialogs/Genebusq.h"

#include "ui_GENEBUSQ.h"

TfGENEBUSQ* fGENEBUSQ = nullptr;

TfGENEBUSQ::TfGENEBUSQ(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEBUSQ>()) { ui_->setupUi(this); }

TfGENEBUSQ::~TfGENEBUSQ() {
  if (fGENEBUSQ == this) fGENEBUSQ = nullptr;
}
