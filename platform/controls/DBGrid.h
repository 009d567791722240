#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QSet>
#include <QList>
#include <QTableView>

class DataSource;
class DatasetModel;
class Field;

// A grid over a data source's dataset: one row per record, read as it comes
// into view; the current row follows the dataset's current record and the
// other way round. Without columns of its own it shows the visible fields.
class DBGrid : public QTableView {
  Q_OBJECT
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
  // A column's title (Title.Caption): its own once set, else its field's label.
  QString ColumnTitle(int column) const;
  void SetColumnTitle(int column, const QString& title);
  // The values a column offers (PickList), edited through a list; kept by field name.
  QStringList ColumnPickList(int column) const;
  void SetColumnPickList(int column, const QStringList& items);
  // The field of the current column (SelectedField); none while closed.
  Field* SelectedField() const;
  // The current column (SelectedIndex), 0 when there is none; setting it
  // keeps the current record.
  int SelectedIndex() const;
  void SetSelectedIndex(int column);

  // The indicator column (dgIndicator) marks the current record.
  bool ShowIndicator() const;
  void SetShowIndicator(bool show);
  QFont TitleFont() const;
  void SetTitleFont(const QFont& font);
  QColor FixedColor() const;
  void SetFixedColor(const QColor& color);
  QColor Color() const;
  void SetColor(const QColor& color);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  void followDataset(int row);
  void defaultColumns();
  void restoreColumns();

  DatasetModel* model_;
  bool ownColumns_ = false;
  bool following_ = false;
  bool restoring_ = false;
  QSet<QString> hidden_;        // columns hidden, by upper-case field name
  QHash<QString, int> widths_;  // widths set, by upper-case field name
  QHash<QString, QStringList> pickLists_;  // by upper-case field name
};
