#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENEDETA;
}

// The detail viewer: shows a long text as plain text or HTML.
class TfGENEDETA : public Form {
  Q_OBJECT

 public:
  explicit TfGENEDETA(QWidget* owner = nullptr);
  ~TfGENEDETA() override;

 private:
  std::unique_ptr<Ui::TfGENEDETA> ui_;
};

extern TfGENEDETA* fGENEDETA;
