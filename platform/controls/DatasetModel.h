#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QStringList>

class DataSource;
class Dataset;
class Field;

// The records of a data source's dataset as rows of a table model, one
// column per field name. Rows are read through the dataset's own navigation
// when a view asks for them, a window at a time, and only the windows in
// view are kept: a view over a large table reads what it shows.
class DatasetModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit DatasetModel(QObject* parent = nullptr);

  DataSource* Source() const { return source_; }
  void SetSource(DataSource* source);
  Dataset* DataSet() const;
  const QStringList& FieldNames() const { return fieldNames_; }
  void SetFieldNames(const QStringList& names);
  // The names of the dataset's visible fields, in their order; none when
  // it is closed.
  static QStringList VisibleFieldNames(const Dataset* dataset);
  // Whether the columns are the dataset's visible fields, taken anew as the
  // rows are (one reset for both).
  void SetFollowVisibleFields(bool follow) { followVisibleFields_ = follow; }
  Field* FieldAt(int column) const;

  // The row of the dataset's current record; -1 for none.
  int CurrentRow() const;
  // Makes the row's record the dataset's current one.
  void SetCurrentRow(int row);
  // How many records have been read to show rows since the model was made.
  int RecordsRead() const { return recordsRead_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  // A column's own title, kept by its field name, in place of the field's label.
  bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                     int role = Qt::EditRole) override;
  void ClearTitles();
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  // A client dataset reading in packets gets its next packet as the view
  // reaches the last row copied.
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  static constexpr int kWindow = 64;

 signals:
  // The dataset moved to another record (or the whole set changed).
  void CurrentRowChanged(int row);

 private:
  void wholeSetChanged();
  void placeCurrentRecord();
  // The dataset moved to the window's first record; false when there is none.
  bool reachWindow(Dataset& dataset, int first) const;
  void fieldChanged(Field* field);
  const QStringList* window(int row) const;
  QStringList currentTexts() const;
  QVariant alignment(int column) const;

  QPointer<DataSource> source_;
  QStringList fieldNames_;
  bool followVisibleFields_ = false;
  int recordRow(int row) const;  // the dataset's row a row of the model shows

  int rows_ = 0;
  int insertRow_ = -1;   // the row of a record being inserted; -1 for none
  int lastCurrent_ = -1;  // the row of the last current record
  int currentRecord_ = -1;  // the current record's row, as the dataset last told
  mutable QHash<int, QStringList> cache_;  // texts of rows read, by row
  QHash<QString, QString> titles_;          // columns' own titles, by upper-case field name
  mutable bool reading_ = false;
  mutable int recordsRead_ = 0;
  QMetaObject::Connection dataConnection_;
  QMetaObject::Connection stateConnection_;
};
