#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENECSIS;
}

// The installation-wide settings: the database lines of the installation
// settings file and the keys of the program INI file, each control named as
// its key. Saving writes both files and starts the program again.
class TfGENECSIS : public Form {
  Q_OBJECT

 public:
  explicit TfGENECSIS(QWidget* owner = nullptr);
  ~TfGENECSIS() override;

  void pbGrabarClick();
  void pbAyudaClick();
  void RegistroAccesosActivadoClick();
  void NombreIntercalacionMSSQLClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool tablasRegistroValidas();
  void CargarConfiguracion();
  // Both files read afresh, only the form's keys and lines changed, each
  // file replaced whole once both are written; a failure raises and leaves
  // them as they were.
  void GrabarConfiguracion();

  std::unique_ptr<Ui::TfGENECSIS> ui_;
};
