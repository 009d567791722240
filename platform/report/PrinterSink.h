#pragma once

#include "platform/report/PageSink.h"
#include "platform/report/PrintSettings.h"

#include <QPainter>

#include <memory>

class QPrinter;

// Draws the pages straight into a job on the printer of the settings,
// leaving out the pages outside their range, or into the PDF file the
// settings print to. A job that cannot start raises.
class PrinterSink : public PageSink {
 public:
  PrinterSink(const PrintSettings& settings, QString documentName);
  ~PrinterSink() override;
  void Begin(const PageSetup& setup) override;
  void AddPage(const PageRecord& page) override;
  void End() override;
  int PagesPrinted() const { return printed_; }

 private:
  QString destination() const;

  PrintSettings settings_;
  QString documentName_;
  std::unique_ptr<QPrinter> printer_;
  QPainter painter_;
  double scale_ = 1;
  int printed_ = 0;
};
