#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENEBUSQ;
}

// The record search: returns the key of the record the user chooses.
class TfGENEBUSQ : public Form {
  Q_OBJECT

 public:
  explicit TfGENEBUSQ(QWidget* owner = nullptr);
  ~TfGENEBUSQ() override;

 private:
  std::unique_ptr<Ui::TfGENEBUSQ> ui_;
};

extern TfGENEBUSQ* fGENEBUSQ;
