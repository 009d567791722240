#include "platform/CommonDialogs.h"

#include "platform/FileList.h"
#include "platform/report/Printer.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

namespace {

class ShownDialogs : public CommonDialogs {
 public:
  bool Execute(QFileDialog& dialog) override {
    ListInSpanish(dialog);
    dialog.selectFile(FileName(dialog));
    if (dialog.exec() != QDialog::Accepted) return false;
    SetFileName(dialog, dialog.selectedFiles().value(0));
    SetFilterIndex(dialog, static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter())) + 1);
    return true;
  }
  bool Execute(QFontDialog& dialog) override { return dialog.exec() == QDialog::Accepted; }
  bool Execute(PrintDialog& dialog) override {
    std::unique_ptr<QPrinter> printer = PrinterSeam::Get().Open(PrinterName(dialog.Choice.PrinterIndex));
    printer->setCopyCount(dialog.Choice.Copies);
    printer->setPageOrientation(dialog.Choice.Orientation);
    QPrintDialog shown(printer.get());
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintShowPageSize;
    if (dialog.PrintToFile) options |= QAbstractPrintDialog::PrintToFile;
    if (dialog.PageNumbers) options |= QAbstractPrintDialog::PrintPageRange;
    shown.setOptions(options);
    shown.setMinMax(dialog.MinPage, dialog.MaxPage);
    if (shown.exec() != QDialog::Accepted) return false;
    ReadPrintChoice(*printer, dialog.Choice);
    return true;
  }
};

QString withBothCases(const QString& patterns) {
  QStringList all;
  for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : pattern.trimmed();
    all << trimmed << trimmed.toLower() << trimmed.toUpper();
  }
  all.removeDuplicates();
  return all.join(u' ');
}

}  // namespace

void ReadPrintChoice(const QPrinter& printer, PrintSettings& choice) {
  const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  choice.OutputFile = toFile ? printer.outputFileName() : QString();
  choice.PrinterIndex = toFile ? -1 : PrinterIndex(printer.printerName());
  choice.Copies = printer.copyCount();
  choice.Orientation = printer.pageLayout().orientation();
  const bool range = printer.printRange() == QPrinter::PageRange;
  choice.FirstPage = range ? printer.fromPage() : 0;
  choice.LastPage = range ? printer.toPage() : 0;
}

CommonDialogs& CommonDialogs::Default() {
  static ShownDialogs dialogs;
  return dialogs;
}

QStringList NameFilters(const QString& filter) {
  static const QRegularExpression parenthesised(QStringLiteral("\\s*\\(([^)]*)\\)\\s*$"));
  const QStringList pieces = filter.split(u'|');
  QStringList filters;
  for (qsizetype index = 0; index < pieces.size(); index += 2) {
    QString description = pieces.at(index).trimmed();
    if (description.isEmpty()) continue;
    const QRegularExpressionMatch match = parenthesised.match(description);
    QString patterns = index + 1 < pieces.size() ? pieces.at(index + 1) : (match.hasMatch() ? match.captured(1) : QString());
    if (match.hasMatch()) description.truncate(match.capturedStart());
    if (patterns.trimmed().isEmpty()) patterns = QStringLiteral("*");
    filters << description + QStringLiteral(" (") + withBothCases(patterns) + u')';
  }
  return filters;
}

void SetFilter(QFileDialog& dialog, const QString& filter) { dialog.setNameFilters(NameFilters(filter)); }

int FilterIndex(const QFileDialog& dialog) { return dialog.property("FilterIndex").toInt(); }

void SetFilterIndex(QFileDialog& dialog, int index) {
  dialog.setProperty("FilterIndex", index);
  if (index >= 1 && index <= dialog.nameFilters().size()) dialog.selectNameFilter(dialog.nameFilters().at(index - 1));
}

QString FileName(const QFileDialog& dialog) { return dialog.property("FileName").toString(); }

void SetFileName(QFileDialog& dialog, const QString& fileName) { dialog.setProperty("FileName", fileName); }
