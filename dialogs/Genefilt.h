#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENEFILT;
}

// The filter dialog: composes and applies a table's filter.
class TfGENEFILT : public Form {
  Q_OBJECT

 public:
  explicit TfGENEFILT(QWidget* owner = nullptr);
  ~TfGENEFILT() override;

 private:
  std::unique_ptr<Ui::TfGENEFILT> ui_;
};

extern TfGENEFILT* fGENEFILT;
