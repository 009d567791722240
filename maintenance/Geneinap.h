#pragma once

#include "dialogs/MantenimientoRegistros.h"

#include <memory>

namespace Ui {
class TfGENEINAP;
}

// The entry of the faults users meet in the suite: numbered incidents of
// the general table INCAPLIC, each printed on its own report.
class TfGENEINAP : public MantenimientoRegistros {
  Q_OBJECT

 public:
  explicit TfGENEINAP(QWidget* owner = nullptr);
  ~TfGENEINAP() override;

  void pbImprimirClick();

 protected:
  bool ComprobarDatos(QWidget* control) override;

 private:
  void Table1BeforeInsert();
  void Table1NewRecord();
  void Table1AfterPost();

  std::unique_ptr<Ui::TfGENEINAP> ui_;
  QString claveAnterior_;  // the current record's key before an insert
};

extern TfGENEINAP* fGENEINAP;

void RegistrarGENEINAP();
