#include "platform/controls/DBGrid.h"

#include "platform/controls/DatasetModel.h"
#include "platform/controls/TextCellPainter.h"
#include "platform/data/DataSource.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include "platform/Exceptions.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOption>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Edits a column with a pick list through a list of its values, which still
// takes any text typed, lets the grid's handler dress a cell before it is
// drawn as usual, and draws the current cell's ellipsis.
class GridDelegate : public QStyledItemDelegate {
 public:
  explicit GridDelegate(DBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QStringList items = grid_->ColumnPickList(index.column());
    if (items.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
    auto* list = new QComboBox(parent);
    list->setEditable(true);
    list->addItems(items);
    return list;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* list = qobject_cast<QComboBox*>(editor))
      list->setCurrentText(index.data(Qt::EditRole).toString());
    else
      QStyledItemDelegate::setEditorData(editor, index);
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    if (auto* list = qobject_cast<QComboBox*>(editor))
      model->setData(index, list->currentText(), Qt::EditRole);
    else
      QStyledItemDelegate::setModelData(editor, model, index);
  }
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QRect button = index == grid_->currentIndex() ? grid_->EditButtonRect() : QRect();
    QStyleOptionViewItem cell = option;
    if (!button.isEmpty()) cell.rect.setRight(button.left() - 1);
    initStyleOption(&cell, index);
    if (!PaintTextCell(*painter, cell)) {
      const QWidget* widget = cell.widget ? cell.widget : grid_;
      widget->style()->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    }
    if (button.isEmpty()) return;
    QStyleOptionButton ellipsis;
    ellipsis.initFrom(grid_);
    ellipsis.rect = button;
    ellipsis.text = QStringLiteral("...");
    grid_->style()->drawControl(QStyle::CE_PushButton, &ellipsis, painter, grid_);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (grid_->OnDrawColumnCell) grid_->OnDrawColumnCell(*grid_, index, *option);
  }

 private:
  DBGrid* grid_;
};

}  // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DatasetModel(this)) {
  setModel(model_);
  model_->SetFollowVisibleFields(true);
  setItemDelegate(new GridDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);  // a cell shows one line, its text's start up to the cell's end
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setFixedWidth(12);
  connect(model_, &DatasetModel::CurrentRowChanged, this, &DBGrid::followDataset);
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    if (!ownColumns_) defaultColumns();
    restoreColumns();
  });
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (restoring_ || width <= 0) return;
    widths_.insert(ColumnFieldName(column).toUpper(), width);
    if (Field* field = ColumnField(column))
      field->SetDisplayWidth(std::max(1, qRound(static_cast<double>(width) / fontMetrics().horizontalAdvance(u'0'))));
  });
  connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this] {
    if (!restoring_) followMovedColumns();
  });
}

void DBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  const bool next = hint == QAbstractItemDelegate::EditNextItem;
  if (!next && hint != QAbstractItemDelegate::EditPreviousItem) {
    QTableView::closeEditor(editor, hint);
    return;
  }
  QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
  const QPersistentModelIndex target(moveCursor(next ? MoveNext : MovePrevious, Qt::NoModifier));
  if (!target.isValid()) return;
  selectionModel()->setCurrentIndex(target, selectionCommand(target));
  // The move ran the column's exit, which may have refused it or made the line again.
  if (target.isValid() && currentIndex() == target && (target.flags() & Qt::ItemIsEditable) &&
      !(editTriggers() & CurrentChanged))
    edit(target, AllEditTriggers, nullptr);
}

bool DBGrid::EditorModified() const {
  QWidget* editor = QApplication::focusWidget();
  if (!editor || editor == this || !isAncestorOf(editor)) return false;
  if (auto* list = qobject_cast<QComboBox*>(editor)) editor = list->lineEdit();
  else if (auto* list = qobject_cast<QComboBox*>(editor->parentWidget())) editor = list->lineEdit();
  const auto* text = qobject_cast<const QLineEdit*>(editor);
  return text && text->isModified();
}

// A column dragged elsewhere moves itself, so that column n is still the n-th
// shown; over the visible fields it moves its field among the dataset's.
void DBGrid::followMovedColumns() {
  QHeaderView& header = *horizontalHeader();
  QStringList order;
  for (int visual = 0; visual < header.count(); ++visual) order.append(ColumnFieldName(header.logicalIndex(visual)));
  {
    const QScopedValueRollback guard(restoring_, true);
    for (int column = 0; column < header.count(); ++column) header.moveSection(header.visualIndex(column), column);
  }
  if (ownColumns_) {
    model_->SetFieldNames(order);
    return;
  }
  Dataset* dataset = model_->DataSet();
  if (!dataset || !dataset->Active()) return;
  // The fields shown take the places the shown fields held, in the new order.
  QList<Field*> fields;
  auto next = order.cbegin();
  for (int i = 0; i < dataset->FieldCount(); ++i) {
    Field* field = &dataset->Fields(i);
    fields.append(order.contains(field->FieldName()) && next != order.cend() ? dataset->FindField(*next++) : field);
  }
  for (int i = 0; i < fields.size(); ++i) fields[i]->SetIndex(i);
  defaultColumns();
}

DataSource* DBGrid::Source() const { return model_->Source(); }

void DBGrid::SetSource(DataSource* source) {
  model_->SetSource(source);
  if (!ownColumns_) defaultColumns();
}

void DBGrid::defaultColumns() {
  const QStringList names = DatasetModel::VisibleFieldNames(model_->DataSet());
  if (names == model_->FieldNames()) return;
  const QScopedValueRollback guard(ownColumns_, true);
  model_->SetFieldNames(names);
}

void DBGrid::SetColumns(const QStringList& fieldNames) {
  ownColumns_ = !fieldNames.isEmpty();
  model_->SetFollowVisibleFields(!ownColumns_);
  if (ownColumns_)
    model_->SetFieldNames(fieldNames);
  else
    defaultColumns();
}

void DBGrid::RestoreDefaults() {
  widths_.clear();
  model_->ClearTitles();
  SetColumns({});
  {
    const QScopedValueRollback guard(restoring_, true);
    for (int column = 0; column < ColumnCount(); ++column)
      setColumnWidth(column, horizontalHeader()->defaultSectionSize());
  }
  restoreColumns();
}

QString DBGrid::ColumnTitle(int column) const {
  return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}
void DBGrid::SetColumnTitle(int column, const QString& title) {
  model_->setHeaderData(column, Qt::Horizontal, title, Qt::DisplayRole);
}
QStringList DBGrid::ColumnPickList(int column) const { return pickLists_.value(ColumnFieldName(column).toUpper()); }
void DBGrid::SetColumnPickList(int column, const QStringList& items) {
  if (column >= 0 && column < ColumnCount()) pickLists_.insert(ColumnFieldName(column).toUpper(), items);
}

DBGrid::ColumnButtonStyle DBGrid::ButtonStyle(int column) const {
  return buttons_.value(ColumnFieldName(column).toUpper(), cbsAuto);
}
void DBGrid::SetButtonStyle(int column, ColumnButtonStyle style) {
  if (column < 0 || column >= ColumnCount()) return;
  buttons_.insert(ColumnFieldName(column).toUpper(), style);
  viewport()->update();
}

QRect DBGrid::EditButtonRect() const {
  const QModelIndex current = currentIndex();
  if (!current.isValid() || ButtonStyle(current.column()) != cbsEllipsis) return {};
  const QRect cell = visualRect(current);
  const int width = std::min(cell.width(), style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
  return {cell.right() - width + 1, cell.top(), width, cell.height()};
}

void DBGrid::WidenToTitles() {
  QHeaderView& titles = *horizontalHeader();
  for (int column = 0; column < ColumnCount(); ++column)
    if (!isColumnHidden(column) && columnWidth(column) < titles.sectionSizeHint(column))
      SetColumnWidth(column, titles.sectionSizeHint(column));
}

void DBGrid::SetColumnDisplayWidth(int column, int characters) {
  // The margins the cell keeps about its text.
  constexpr int kMargins = 4;
  SetColumnWidth(column, characters * fontMetrics().horizontalAdvance(u'0') + kMargins);
  if (Field* field = ColumnField(column)) field->SetDisplayWidth(characters);
}

int DBGrid::SelectedIndex() const { return std::max(currentIndex().column(), 0); }

void DBGrid::SetSelectedIndex(int column) {
  if (column < 0 || column >= ColumnCount()) return;
  const int row = std::max(currentIndex().row(), model_->CurrentRow());
  if (row >= 0) setCurrentIndex(model_->index(row, column));
}

int DBGrid::ColumnCount() const { return model_->columnCount(); }
QString DBGrid::ColumnFieldName(int column) const { return model_->FieldNames().value(column); }
Field* DBGrid::ColumnField(int column) const { return model_->FieldAt(column); }
bool DBGrid::ColumnVisible(int column) const { return !isColumnHidden(column); }
void DBGrid::SetColumnVisible(int column, bool visible) {
  if (column >= 0 && column < ColumnCount()) SetFieldVisible(ColumnFieldName(column), visible);
}

void DBGrid::SetFieldVisible(const QString& fieldName, bool visible) {
  if (visible)
    hidden_.remove(fieldName.toUpper());
  else
    hidden_.insert(fieldName.toUpper());
  restoreColumns();
}

// A reset of the model (the dataset opened, closed or changed its number of
// records) would lose what was set on the columns.
void DBGrid::restoreColumns() {
  const QScopedValueRollback guard(restoring_, true);
  for (int column = 0; column < ColumnCount(); ++column) {
    const QString name = ColumnFieldName(column).toUpper();
    setColumnHidden(column, hidden_.contains(name));
    if (auto width = widths_.constFind(name); width != widths_.constEnd()) setColumnWidth(column, *width);
  }
}

bool DBGrid::ShowIndicator() const { return !verticalHeader()->isHidden(); }
void DBGrid::SetShowIndicator(bool show) { verticalHeader()->setHidden(!show); }
QFont DBGrid::TitleFont() const { return horizontalHeader()->font(); }
void DBGrid::SetTitleFont(const QFont& font) { horizontalHeader()->setFont(font); }
QColor DBGrid::TitleFontColor() const { return horizontalHeader()->palette().color(QPalette::ButtonText); }
void DBGrid::SetTitleFontColor(const QColor& color) {
  QPalette palette = horizontalHeader()->palette();
  palette.setColor(QPalette::ButtonText, color);
  palette.setColor(QPalette::WindowText, color);
  horizontalHeader()->setPalette(palette);
}

QColor DBGrid::FixedColor() const { return horizontalHeader()->palette().color(QPalette::Button); }
void DBGrid::SetFixedColor(const QColor& color) {
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    QPalette palette = header->palette();
    palette.setColor(QPalette::Button, color);
    palette.setColor(QPalette::Window, color);
    header->setPalette(palette);
  }
}
QColor DBGrid::Color() const { return palette().color(QPalette::Base); }
void DBGrid::SetColor(const QColor& color) {
  QPalette own = palette();
  own.setColor(QPalette::Base, color);
  setPalette(own);
}

void DBGrid::SetGridOptions(Options options) {
  options_ = options;
  setSelectionBehavior(options.testFlag(dgRowSelect) || options.testFlag(dgMultiSelect) ? SelectRows : SelectItems);
  setSelectionMode(options.testFlag(dgMultiSelect) ? ExtendedSelection : SingleSelection);
  applyEditing();
}

void DBGrid::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  applyEditing();
}

void DBGrid::applyEditing() {
  const bool editing = !readOnly_ && options_.testFlag(dgEditing) && !options_.testFlag(dgRowSelect);
  setEditTriggers(editing ? (DoubleClicked | EditKeyPressed | AnyKeyPressed) : NoEditTriggers);
}

void DBGrid::ReadShownRows() {
  const int rows = model_->rowCount();
  if (rows == 0 || model_->columnCount() == 0) return;
  const int first = std::max(0, rowAt(0));
  const int shown = viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()) + 1;
  for (int row = first; row < std::min(rows, first + shown); ++row) model_->index(row, 0).data();
}

Field* DBGrid::SelectedField() const { return ColumnField(leaving_ >= 0 ? leaving_ : currentIndex().column()); }

QList<int> DBGrid::SelectedRows() const {
  QList<int> rows;
  if (!options_.testFlag(dgMultiSelect)) return rows;
  for (const QModelIndex& row : selectionModel()->selectedRows()) rows.append(row.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

bool DBGrid::RowSelected(int row) const {
  return options_.testFlag(dgMultiSelect) && selectionModel()->isRowSelected(row, {});
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!OnDblClick) {
    QTableView::mouseDoubleClickEvent(event);
    return;
  }
  event->accept();
  OnDblClick(*this);
}

void DBGrid::mousePressEvent(QMouseEvent* event) {
  if (OnEditButtonClick && EditButtonRect().contains(event->position().toPoint())) {
    event->accept();
    OnEditButtonClick(*this);
    return;
  }
  QTableView::mousePressEvent(event);
}

void DBGrid::followDataset(int row) {
  const QScopedValueRollback guard(following_, true);
  if (row < 0) {
    selectionModel()->clearCurrentIndex();
    return;
  }
  const int column = currentIndex().isValid() ? currentIndex().column() : std::max(lastColumn_, 0);
  const QModelIndex current = model_->index(row, column);
  // The rows chosen in a multi-select grid stay chosen as the dataset moves.
  // A row already current (the dataset told of a change that did not move
  // it) is left as it is: choosing it again repaints the selection.
  if (options_.testFlag(dgMultiSelect)) {
    if (currentIndex() != current) selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
  } else if (currentIndex() != current || !selectionModel()->isRowSelected(row)) {
    setCurrentIndex(current);
  }
  // Rows just read in (the rest of a search's packets) are not yet in the
  // scroll bar's range: it is brought up to date, so the grid shows the row.
  // Only then: laying the grid out costs each move its headers' measuring.
  if (isVisible() && !viewport()->rect().contains(visualRect(current).center())) {
    updateGeometries();
    scrollTo(current);
  }
  verticalHeader()->viewport()->update();
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (OnColExit && !returning_ && previous.isValid() && current.isValid() && current.column() != previous.column()) {
    try {
      const QScopedValueRollback leaving(leaving_, previous.column());
      OnColExit(*this);
    } catch (const Abort&) {
      const QScopedValueRollback guard(returning_, true);
      QTableView::currentChanged(current, previous);
      selectionModel()->setCurrentIndex(previous, QItemSelectionModel::NoUpdate);
      return;
    }
  }
  QTableView::currentChanged(current, previous);
  if (current.isValid()) lastColumn_ = current.column();
  if (!following_ && current.isValid() && current.row() != previous.row()) model_->SetCurrentRow(current.row());
}
