#pragma once

#include "platform/Seam.h"

#include <QStringList>

#include <memory>

class QPrinter;

// The printers of the system in its own order, and a device for a job on
// one of them. Tests put a recording printer in its place.
class Printer {
 public:
  virtual ~Printer() = default;
  virtual QStringList Printers() const = 0;
  virtual QString DefaultPrinter() const = 0;
  virtual std::unique_ptr<QPrinter> Open(const QString& name) = 0;

  static Printer& Default();
};

using PrinterSeam = Seam<Printer>;

// The index of a printer in the system's list; -1 when it is not there.
int PrinterIndex(const QString& name);
QString PrinterName(int index);
