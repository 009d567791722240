#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENEBUSA;
}

// The approximate record search, used instead of the record search when the installation asks for it.
class TfGENEBUSA : public Form {
  Q_OBJECT

 public:
  explicit TfGENEBUSA(QWidget* owner = nullptr);
  ~TfGENEBUSA() override;

 private:
  std::unique_ptr<Ui::TfGENEBUSA> ui_;
};

extern TfGENEBUSA* fGENEBUSA;
