#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENEVMEM;
}

// The memo viewer: shows a text field of the current record.
class TfGENEVMEM : public Form {
  Q_OBJECT

 public:
  explicit TfGENEVMEM(QWidget* owner = nullptr);
  ~TfGENEVMEM() override;

 private:
  std::unique_ptr<Ui::TfGENEVMEM> ui_;
};

extern TfGENEVMEM* fGENEVMEM;
