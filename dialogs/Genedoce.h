#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENEDOCE;
}

// The electronic documentation of a record: its attached files, folders, web pages and notes.
class TfGENEDOCE : public Form {
  Q_OBJECT

 public:
  explicit TfGENEDOCE(QWidget* owner = nullptr);
  ~TfGENEDOCE() override;

 private:
  std::unique_ptr<Ui::TfGENEDOCE> ui_;
};

extern TfGENEDOCE* fGENEDOCE;
