#pragma once

#include "platform/Form.h"

#include <memory>

class QFileSystemModel;

namespace Ui {
class TfGENEOPEN;
}

// The file and folder chooser: a title, a tree of the file system and an OK
// button. SeleccionarArchivoCarpeta sets it up and reads the choice.
class TfGENEOPEN : public Form {
  Q_OBJECT

 public:
  explicit TfGENEOPEN(QWidget* owner = nullptr);
  ~TfGENEOPEN() override;

 private:
  std::unique_ptr<Ui::TfGENEOPEN> ui_;
  QFileSystemModel* modelo_;  // owned by the form
};

extern TfGENEOPEN* fGENEOPEN;

// Registers the form under its class name, so that the services below this
// layer can create it.
void RegistrarGENEOPEN();
