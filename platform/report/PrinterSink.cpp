#include "platform/report/PrinterSink.h"

#include "platform/Exceptions.h"
#include "platform/report/PagePainter.h"
#include "platform/report/PageRecord.h"
#include "platform/report/Printer.h"

#include <QPrinter>

PrinterSink::PrinterSink(const PrintSettings& settings, QString documentName)
    : settings_(settings), documentName_(std::move(documentName)) {}

PrinterSink::~PrinterSink() {
  if (painter_.isActive()) {
    printer_->abort();
    painter_.end();
  }
}

void PrinterSink::Begin(const PageSetup& setup) {
  if (settings_.OutputFile.isEmpty()) {
    printer_ = PrinterSeam::Get().Open(PrinterName(settings_.PrinterIndex));
  } else {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(settings_.OutputFile);
  }
  printer_->setDocName(documentName_);
  printer_->setCopyCount(std::max(1, settings_.Copies));
  printer_->setFullPage(true);
  // The paper is turned as the pages were laid out, or they would be cut.
  printer_->setPageLayout(QPageLayout(QPageSize(setup.PageSizeId()), setup.Orientation, QMarginsF(0, 0, 0, 0)));
  if (settings_.FirstPage > 0 || settings_.LastPage > 0) {
    printer_->setPrintRange(QPrinter::PageRange);
    printer_->setFromTo(std::max(1, settings_.FirstPage), settings_.LastPage > 0 ? settings_.LastPage : 9999);
  }
  scale_ = printer_->resolution() / kReportDpi;
}

QString PrinterSink::destination() const {
  return settings_.OutputFile.isEmpty() ? printer_->printerName() : settings_.OutputFile;
}

void PrinterSink::AddPage(const PageRecord& page) {
  if (settings_.FirstPage > 0 && page.number < settings_.FirstPage) return;
  if (settings_.LastPage > 0 && page.number > settings_.LastPage) return;
  if (printed_ == 0) {
    if (!painter_.begin(printer_.get()))
      throw Exception(QStringLiteral("No se ha podido iniciar la impresión en ") + destination());
  } else if (!printer_->newPage()) {
    throw Exception(QStringLiteral("No se ha podido iniciar la impresión en ") + destination());
  }
  ++printed_;
  painter_.save();
  painter_.scale(scale_, scale_);
  PaintPage(painter_, page);
  painter_.restore();
}

void PrinterSink::End() {
  if (painter_.isActive() && !painter_.end())
    throw Exception(QStringLiteral("No se ha podido iniciar la impresión en ") + destination());
}
