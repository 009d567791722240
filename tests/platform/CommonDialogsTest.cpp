#include "platform/CommonDialogs.h"

#include <QFileDialog>
#include <QPrinter>

#include <gtest/gtest.h>

namespace {

struct FilterCase {
  const char* system;
  const char* qt;  // filters joined by ";;"
};

class SystemFilters : public testing::TestWithParam<FilterCase> {};

TEST_P(SystemFilters, BecomeQtNameFiltersInBothCases) {
  EXPECT_EQ(NameFilters(QString::fromUtf8(GetParam().system)).join(";;").toStdString(), GetParam().qt);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, SystemFilters,
    testing::Values(
        FilterCase{"Archivos Excel (*.xls)|*.XLS|Todos los Archivos (*.*)",
                   "Archivos Excel (*.XLS *.xls);;Todos los Archivos (*)"},
        FilterCase{"Archivos de Texto (*.TXT)|*.TXT|Todos los Archivos (*.*)|*.*",
                   "Archivos de Texto (*.TXT *.txt);;Todos los Archivos (*)"},
        FilterCase{"Imágenes|*.bmp;*.JPG", "Imágenes (*.bmp *.BMP *.JPG *.jpg)"},
        FilterCase{"", ""}));

TEST(CommonDialogsTest, TheFileNameIsTheDialogsOwn) {
  QFileDialog dialog;
  SetFileName(dialog, "LISTPRG.XLS");
  EXPECT_EQ(FileName(dialog), "LISTPRG.XLS");
  SetFilter(dialog, "Archivos PDF (*.pdf)|*.pdf");
  EXPECT_EQ(dialog.nameFilters(), QStringList{"Archivos PDF (*.pdf *.PDF)"});
}

}  // namespace

// "Print to file" leaves the printer without a name: the choice is the file.
TEST(CommonDialogsTest, PrintingToAFileIsChosenAsTheFileAndNoPrinter) {
  QPrinter impresora;
  impresora.setOutputFormat(QPrinter::PdfFormat);
  impresora.setOutputFileName(u"/tmp/informe.pdf"_qs);
  impresora.setCopyCount(2);
  impresora.setPrintRange(QPrinter::PageRange);
  impresora.setFromTo(2, 3);
  PrintSettings eleccion;
  eleccion.PrinterIndex = 0;
  ReadPrintChoice(impresora, eleccion);
  EXPECT_EQ(eleccion.OutputFile, u"/tmp/informe.pdf"_qs);
  EXPECT_EQ(eleccion.PrinterIndex, -1);
  EXPECT_EQ(eleccion.Copies, 2);
  EXPECT_EQ(eleccion.FirstPage, 2);
  EXPECT_EQ(eleccion.LastPage, 3);
  // A printer chosen the next time prints no file.
  QPrinter otra;
  otra.setOutputFormat(QPrinter::NativeFormat);
  ReadPrintChoice(otra, eleccion);
  EXPECT_EQ(eleccion.OutputFile, QString());
  EXPECT_EQ(eleccion.FirstPage, 0);
}
