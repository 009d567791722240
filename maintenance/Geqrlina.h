#pragma once

#include "platform/Form.h"

#include <memory>

class DatasetSource;
class ReportComponent;
class ReportEngine;
class Table;

// The report of the incidents of INCAPLIC from IncidenciaDesde to
// IncidenciaHasta: one incident a page, in framed blocks.
class TfGEQRLINA : public Form {
  Q_OBJECT

 public:
  explicit TfGEQRLINA(QWidget* owner = nullptr);
  ~TfGEQRLINA() override;

  ReportEngine& QuickReport() const;
  Table* Table1;

  void QuickReportBeforePrint();
  void Previsualizar();
  void Imprimir();

 private:
  ReportComponent* informe_;
  std::unique_ptr<DatasetSource> registros_;
};

extern TfGEQRLINA* fGEQRLINA;
// The range of the report, set before it is made.
extern int IncidenciaDesde;
extern int IncidenciaHasta;
