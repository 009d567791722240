#include "platform/Exceptions.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/DataFixture.h"

#include <QApplication>
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
