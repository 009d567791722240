#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENETEXT;
}

// The text window: EditarTexto puts the text in "Memo1" and reads it back
// when the user accepts.
class TfGENETEXT : public Form {
  Q_OBJECT

 public:
  explicit TfGENETEXT(QWidget* owner = nullptr);
  ~TfGENETEXT() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  std::unique_ptr<Ui::TfGENETEXT> ui_;
};

extern TfGENETEXT* fGENETEXT;

void RegistrarGENETEXT();
