#include "platform/report/Printer.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

class SystemPrinter : public Printer {
 public:
  QStringList Printers() const override { return QPrinterInfo::availablePrinterNames(); }
  QString DefaultPrinter() const override { return QPrinterInfo::defaultPrinterName(); }
  std::unique_ptr<QPrinter> Open(const QString& name) override {
    return std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
  }
};

}  // namespace

Printer& Printer::Default() {
  static SystemPrinter printer;
  return printer;
}

int PrinterIndex(const QString& name) { return static_cast<int>(PrinterSeam::Get().Printers().indexOf(name)); }

QString PrinterName(int index) {
  const QStringList printers = PrinterSeam::Get().Printers();
  return index >= 0 && index < printers.size() ? printers.at(index) : PrinterSeam::Get().DefaultPrinter();
}
