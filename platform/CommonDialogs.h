#pragma once

#include "platform/Seam.h"
#include "platform/report/PrintSettings.h"

#include <QString>
#include <QStringList>

class QFileDialog;
class QFontDialog;
class QPrinter;

// The print dialog of the data module: its options, and the choice the user
// makes (printer, copies, orientation, page range) once it is accepted.
struct PrintDialog {
  bool PrintToFile = true;
  bool PageNumbers = true;
  int MinPage = 1;
  int MaxPage = 9999;
  PrintSettings Choice;
};

// Shows the common dialogs (open, save, font, print) and says whether the
// user accepted them; the choice is left in the dialog, as the system reads
// it. Tests answer from a script.
class CommonDialogs {
 public:
  virtual ~CommonDialogs() = default;
  virtual bool Execute(QFileDialog& dialog) = 0;
  virtual bool Execute(QFontDialog& dialog) = 0;
  virtual bool Execute(PrintDialog& dialog) = 0;

  static CommonDialogs& Default();
};

using CommonDialogsSeam = Seam<CommonDialogs>;

// The choice a print dialog left in its printer: the printer, or the file
// chosen to print to, copies, orientation and page range.
void ReadPrintChoice(const QPrinter& printer, PrintSettings& choice);

// The system's filter text "Description (*.X)|*.X|..." as Qt name filters:
// one per description, with the patterns that follow it (";" between
// patterns), in both cases, as file names on Linux keep theirs; a last
// description without patterns keeps the ones in its parentheses.
QStringList NameFilters(const QString& filter);
// The file name of a file dialog as the system reads it: the name proposed
// before it is shown, the one chosen once it is accepted.
QString FileName(const QFileDialog& dialog);
void SetFileName(QFileDialog& dialog, const QString& fileName);
void SetFilter(QFileDialog& dialog, const QString& filter);
// The chosen filter, counting from 1 as the system does; 0 when none was set.
int FilterIndex(const QFileDialog& dialog);
void SetFilterIndex(QFileDialog& dialog, int index);
