#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENECOPI;
}

// The copy of records to other companies.
class TfGENECOPI : public Form {
  Q_OBJECT

 public:
  explicit TfGENECOPI(QWidget* owner = nullptr);
  ~TfGENECOPI() override;

 private:
  std::unique_ptr<Ui::TfGENECOPI> ui_;
};

extern TfGENECOPI* fGENECOPI;
