#pragma once

#include "platform/Form.h"

#include <memory>

class QLabel;

namespace Ui {
class TfGENEPANT;
}

// The splash form shown while the program starts; the main window frees it
// after its first show.
class TfGENEPANT : public Form {
  Q_OBJECT

 public:
  explicit TfGENEPANT(QWidget* owner = nullptr);
  ~TfGENEPANT() override;

  QLabel* Version() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TfGENEPANT> ui_;
};

extern TfGENEPANT* fGENEPANT;

// The splash lives here from its creation until it is freed; freeing it twice
// does nothing.
TfGENEPANT* CrearPantallaPresentacion();
void LiberarPantallaPresentacion();
