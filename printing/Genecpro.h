#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENECPRO;
}

// The programmable listing: turns a form's table into a listing.
class TfGENECPRO : public Form {
  Q_OBJECT

 public:
  explicit TfGENECPRO(QWidget* owner = nullptr);
  ~TfGENECPRO() override;

 private:
  std::unique_ptr<Ui::TfGENECPRO> ui_;
};

extern TfGENECPRO* fGENECPRO;
