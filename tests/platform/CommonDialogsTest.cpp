#include "platform/CommonDialogs.h"

#include <QFileDialog>

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
