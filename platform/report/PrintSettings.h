#pragma once

#include <QPageLayout>
#include <QString>

// A report's own printer settings, as the print dialog leaves them.
struct PrintSettings {
  int PrinterIndex = -1;  // in the system's list; -1 the default printer
  int Copies = 1;
  QPageLayout::Orientation Orientation = QPageLayout::Portrait;
  int FirstPage = 0;  // 0: from the first
  int LastPage = 0;   // 0: to the last
  QString OutputFile;  // "print to file": the PDF written in place of a printer
};
