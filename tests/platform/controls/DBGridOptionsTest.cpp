#include "platform/Exceptions.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/DataFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A grid on screen over three customers, on the name column.
struct GridOverCustomers {
  GridOverCustomers() {
    for (int codigo = 1; codigo <= 3; ++codigo) data.AddCustomer(codigo, u"Cliente %1"_qs.arg(codigo));
    table = data.OpenTable(u"CLIENTES"_qs);
    source.SetDataSet(table.get());
    grid.SetSource(&source);
    grid.resize(400, 200);
    grid.show();
    QApplication::processEvents();
    grid.setCurrentIndex(grid.Model()->index(0, name()));
  }
  int name() const { return grid.Model()->FieldNames().indexOf(u"Nombre"_qs); }
  DataFixture data;
  std::unique_ptr<Table> table;
  DataSource source;
  DBGrid grid;
};

}  // namespace

TEST(DBGridOptions, ColumnExitSeesTheColumnLeftAndAnAbortKeepsTheCell) {
  GridOverCustomers g;
  QStringList left;
  bool refuse = true;
  g.grid.OnColExit = [&](DBGrid& grid) {
    left.append(grid.SelectedField()->FieldName());
    if (refuse) throw Abort();
  };
  g.grid.setCurrentIndex(g.grid.Model()->index(0, 0));
  EXPECT_EQ(g.grid.currentIndex().column(), g.name());
  refuse = false;
  g.grid.setCurrentIndex(g.grid.Model()->index(0, 0));
  EXPECT_EQ(g.grid.currentIndex().column(), 0);
  EXPECT_EQ(left, QStringList({u"Nombre"_qs, u"Nombre"_qs}));
  EXPECT_EQ(g.grid.SelectedField()->FieldName(), g.grid.ColumnFieldName(0));
}

TEST(DBGridOptions, ReadOnlyAndRowSelectStopEditingAndMultiSelectListsTheRows) {
  GridOverCustomers g;
  EXPECT_NE(g.grid.editTriggers(), QAbstractItemView::NoEditTriggers);
  g.grid.SetReadOnly(true);
  EXPECT_EQ(g.grid.editTriggers(), QAbstractItemView::NoEditTriggers);
  g.grid.SetReadOnly(false);
  g.grid.SetGridOptions(DBGrid::dgEditing | DBGrid::dgRowSelect);
  EXPECT_EQ(g.grid.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(g.grid.SelectedRows().isEmpty());

  g.grid.SetGridOptions(DBGrid::dgMultiSelect);
  const auto clickRow = [&g](int row, Qt::KeyboardModifiers keys) {
    QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, keys, g.grid.visualRect(g.grid.Model()->index(row, g.name())).center());
  };
  clickRow(2, {});
  clickRow(0, Qt::ControlModifier);
  EXPECT_EQ(g.grid.SelectedRows(), QList<int>({0, 2}));
  EXPECT_TRUE(g.grid.RowSelected(2));
  EXPECT_FALSE(g.grid.RowSelected(1));
}

TEST(DBGridOptions, ADoubleClickHandlerTakesThePlaceOfEditing) {
  GridOverCustomers g;
  int clicks = 0;
  g.grid.OnDblClick = [&clicks](DBGrid&) { ++clicks; };
  const QPoint cell = g.grid.visualRect(g.grid.Model()->index(1, g.name())).center();
  QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(g.grid.viewport(), Qt::LeftButton, {}, cell);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(g.grid.indexWidget(g.grid.currentIndex())) << "no editor opened";
  EXPECT_EQ(g.grid.findChildren<QLineEdit*>().size(), 0);
  EXPECT_EQ(g.table->State(), dsBrowse);
}

TEST(DBGridOptions, AResizedColumnGivesItsFieldsWidthAndAMovedOneMovesItsField) {
  GridOverCustomers g;
  QHeaderView& header = *g.grid.horizontalHeader();
  Field& nombre = g.table->FieldByName(u"Nombre"_qs);
  const int antes = nombre.DisplayWidth();
  EXPECT_EQ(antes, nombre.Size()) << "a text field's size by default";
  header.resizeSection(g.name(), g.grid.fontMetrics().horizontalAdvance(u'0') * 25);
  EXPECT_EQ(nombre.DisplayWidth(), 25);

  // A field the grid does not show keeps its place among the others.
  ASSERT_EQ(g.table->GetFieldNames(), QStringList({u"Codigo"_qs, u"Nombre"_qs, u"Alta"_qs, u"Saldo"_qs, u"Notas"_qs}));
  g.table->FieldByName(u"Alta"_qs).SetVisible(false);
  g.grid.SetColumns({});
  header.moveSection(header.visualIndex(g.name()), 0);
  EXPECT_EQ(g.grid.ColumnFieldName(0), u"Nombre"_qs) << "column 0 is the first shown";
  EXPECT_EQ(header.visualIndex(0), 0);
  const QStringList movidos = {u"Nombre"_qs, u"Codigo"_qs, u"Alta"_qs, u"Saldo"_qs, u"Notas"_qs};
  EXPECT_EQ(g.table->GetFieldNames(), movidos);
  EXPECT_EQ(header.sectionSize(0), g.grid.fontMetrics().horizontalAdvance(u'0') * 25) << "the width goes with it";

  // The grid's own columns move among themselves; the fields stay.
  g.grid.SetColumns({u"Codigo"_qs, u"Nombre"_qs});
  header.moveSection(1, 0);
  EXPECT_EQ(g.grid.ColumnFieldName(0), u"Nombre"_qs);
  EXPECT_EQ(g.grid.ColumnFieldName(1), u"Codigo"_qs);
  EXPECT_EQ(g.table->GetFieldNames(), movidos);
}

// A text wider than its column stays on the cell's one line, its start shown
// up to the cell's end, as a data grid shows it; it is not broken at its
// words into lines the row has no room for.
TEST(DBGridOptions, ATextWiderThanItsColumnShowsItsStartOnOneLine) {
  GridOverCustomers g;
  g.data.AddCustomer(4, u"Ana Constantinopolitana"_qs);
  g.table->Refresh();
  const QFontMetrics metrics = g.grid.fontMetrics();
  g.grid.horizontalHeader()->resizeSection(g.name(), metrics.horizontalAdvance(u"Ana Constantino"_qs));
  QApplication::processEvents();

  const QRect cell = g.grid.visualRect(g.grid.Model()->index(3, g.name()));
  ASSERT_TRUE(cell.isValid());
  const QImage shown = g.grid.viewport()->grab(cell).toImage();
  // The text's ink: the points of the cell, off its edges, that are not its background.
  const QRgb background = shown.pixel(2, 2);
  int inkRight = -1;
  for (int y = 2; y < shown.height() - 2; ++y)
    for (int x = 2; x < shown.width() - 2; ++x)
      if (shown.pixel(x, y) != background) inkRight = std::max(inkRight, x);
  EXPECT_GT(inkRight, metrics.horizontalAdvance(u"Ana Constant"_qs))
      << "the text's start reaches the cell's end (broken at its words, only \"Ana…\" shows)";
}
