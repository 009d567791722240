#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENECINA;
}

class DataSource;
class Table;

// The incidents of INCAPLIC in a read-only grid, narrowed by the filter
// dialog or by quick filters on the value of the selected column.
class TfGENECINA : public Form {
  Q_OBJECT

 public:
  enum Operador { IgualA, Desde, Hasta };

  explicit TfGENECINA(QWidget* owner = nullptr);
  ~TfGENECINA() override;

  Table* Table1;
  DataSource* DataSource1;

  void FiltrarRegistros1Click();
  void FiltrarRegistrosporValorClick(Operador operador);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Table1CalcFields();

  std::unique_ptr<Ui::TfGENECINA> ui_;
};

extern TfGENECINA* fGENECINA;

void RegistrarGENECINA();
