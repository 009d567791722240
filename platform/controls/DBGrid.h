#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QSet>
#include <QList>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <functional>

class DataSource;
class DatasetModel;
class Field;

// A grid over a data source's dataset: one row per record, read as it comes
// into view; the current row follows the dataset's current record and the
// other way round. Without columns of its own it shows the visible fields.
class DBGrid : public QTableView {
  Q_OBJECT
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(QFont TitleFont READ TitleFont WRITE SetTitleFont)
  Q_PROPERTY(QColor FixedColor READ FixedColor WRITE SetFixedColor)
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ShowIndicator READ ShowIndicator WRITE SetShowIndicator)

 public:
  explicit DBGrid(QWidget* parent = nullptr);

  DataSource* Source() const;
  void SetSource(DataSource* source);
  DatasetModel* Model() const { return model_; }

  // The columns (TColumn): a field name each, shown or hidden, with a width.
  int ColumnCount() const;
  QString ColumnFieldName(int column) const;
  Field* ColumnField(int column) const;
  bool ColumnVisible(int column) const;
  void SetColumnVisible(int column, bool visible);
  int ColumnWidth(int column) const { return columnWidth(column); }
  void SetColumnWidth(int column, int width) { setColumnWidth(column, width); }
  // Hides or shows the column of the field, now or when it comes.
  void SetFieldVisible(const QString& fieldName, bool visible);
  // Columns of the grid's own; an empty list goes back to the visible fields.
  void SetColumns(const QStringList& fieldNames);
  // The visible fields again, with their labels and default widths; the
  // columns hidden stay hidden.
  void RestoreDefaults();
  // A column's title (Title.Caption): its own once set, else its field's label.
  QString ColumnTitle(int column) const;
  void SetColumnTitle(int column, const QString& title);
  // The values a column offers (PickList), edited through a list; kept by field name.
  QStringList ColumnPickList(int column) const;
  void SetColumnPickList(int column, const QStringList& items);
  // The button a column's current cell shows (ButtonStyle): cbsAuto, the
  // pick list's own; cbsEllipsis, one that calls OnEditButtonClick. Kept by
  // field name.
  enum ColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };
  ColumnButtonStyle ButtonStyle(int column) const;
  void SetButtonStyle(int column, ColumnButtonStyle style);
  // Where the current cell shows its ellipsis; empty when it shows none.
  QRect EditButtonRect() const;
  // A column's width for a number of characters of the grid's letter; sets
  // its field's DisplayWidth too.
  void SetColumnDisplayWidth(int column, int characters);
  // Widens every column shown whose title would be cut to its title's width.
  void WidenToTitles();
  // The current column (SelectedIndex), 0 when there is none; setting it
  // keeps the current record.
  int SelectedIndex() const;
  void SetSelectedIndex(int column);

  // Reads the texts of the rows in view, for a dataset about to stop being
  // browsed: an insert or an edit shows them but cannot move to read them.
  void ReadShownRows();

  // Whether a cell's editor holds a text typed and not yet stored in its field.
  bool EditorModified() const;

  // The indicator column (dgIndicator) marks the current record.
  bool ShowIndicator() const;
  void SetShowIndicator(bool show);
  QFont TitleFont() const;
  void SetTitleFont(const QFont& font);
  QColor TitleFontColor() const;
  void SetTitleFontColor(const QColor& color);
  QColor FixedColor() const;
  void SetFixedColor(const QColor& color);
  QColor Color() const;
  void SetColor(const QColor& color);

  // The grid's options: cells edited in place, whole rows selected, several
  // rows selected at once.
  enum Option { dgEditing = 1, dgRowSelect = 2, dgMultiSelect = 4 };
  Q_DECLARE_FLAGS(Options, Option)
  Options GridOptions() const { return options_; }
  void SetGridOptions(Options options);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  // The field of the current column; nullptr when there is none.
  Field* SelectedField() const;
  // The rows selected in a multi-select grid, in order.
  QList<int> SelectedRows() const;
  bool RowSelected(int row) const;

  // Leaving a column for another one; raising Abort keeps the cell where it was.
  std::function<void(DBGrid& sender)> OnColExit;
  // A double-click on a cell; when assigned it replaces editing the cell.
  std::function<void(DBGrid& sender)> OnDblClick;
  // A click on the current cell's ellipsis.
  std::function<void(DBGrid& sender)> OnEditButtonClick;
  // Before a cell is drawn: the handler may change the font, the colours and
  // the background of the option the cell is then drawn with.
  std::function<void(DBGrid& sender, const QModelIndex& cell, QStyleOptionViewItem& option)> OnDrawColumnCell;

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  // Tab out of a cell's editor moves to the next cell and edits it when it
  // still can: leaving a cell may have made the line again.
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void followDataset(int row);
  void defaultColumns();
  void followMovedColumns();
  void restoreColumns();
  void applyEditing();

  DatasetModel* model_;
  bool ownColumns_ = false;
  bool following_ = false;
  bool restoring_ = false;
  QSet<QString> hidden_;        // columns hidden, by upper-case field name
  QHash<QString, int> widths_;  // widths set, by upper-case field name
  QHash<QString, QStringList> pickLists_;  // by upper-case field name
  QHash<QString, ColumnButtonStyle> buttons_;  // by upper-case field name
  Options options_ = dgEditing;
  bool readOnly_ = false;
  bool returning_ = false;  // back on the cell a column exit refused
  int leaving_ = -1;        // the column OnColExit is told of
  int lastColumn_ = -1;     // the column kept when the rows are read again
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DBGrid::Options)
