#pragma once

#include "platform/data/Dataset.h"
#include "platform/data/TableDefs.h"

#include <QMetaObject>
#include <QPointer>

#include <optional>

class DataSource;

// A dataset kept in the order of an index: searched by key on it, limited to
// a range of it, and, with a master source, showing only the records whose
// leading index fields equal the master fields of the master's current
// record. Text key fields sort and compare under the Spanish case- and
// accent-insensitive collation.
class IndexedDataset : public Dataset {
  Q_OBJECT

 public:
  explicit IndexedDataset(QObject* owner = nullptr);
  ~IndexedDataset() override;

  ::IndexDefs& IndexDefs() { return indexDefs_; }
  const ::IndexDefs& IndexDefs() const { return indexDefs_; }

  // The current index: a name of IndexDefs (empty: the primary index), or
  // field names joined by ";"; setting one clears the other. Changing it
  // while open cancels the range and keeps the current record.
  const QString& IndexName() const { return indexName_; }
  void SetIndexName(const QString& name);
  const QString& IndexFieldNames() const { return indexFieldNames_; }
  void SetIndexFieldNames(const QString& names);
  int IndexFieldCount() const { return static_cast<int>(indexColumns_.size()); }
  Field& IndexFields(int index) const;

  // Searches on the first values.size() fields of the current index. The
  // values are read as the fields' types. FindKey makes the matching record
  // current (false, and no move, when none); FindNearest the first record
  // at or after the key.
  bool FindKey(const QList<Variant>& values);
  void FindNearest(const QList<Variant>& values);
  // The same with the key of the last SetKey or EditKey, on every field of
  // the index.
  bool GotoKey();
  void GotoNearest();

  // Shows only the records whose first start.size() index fields are at or
  // after start and whose first end.size() fields are at or before end, and
  // goes to the first of them. Closing the dataset cancels it.
  void SetRange(const QList<Variant>& start, const QList<Variant>& end);
  void CancelRange();

  // The master: a data source, and its field names joined by ";", matched
  // in order with the leading fields of this dataset's current index. A new
  // record takes the master's values.
  DataSource* MasterSource() const;
  void SetMasterSource(DataSource* source);
  const QString& MasterFields() const { return masterFields_; }
  void SetMasterFields(const QString& names);

 protected:
  struct KeyLimit {
    Row key;
    int count = 0;
  };
  // What the records shown are limited to (Table reads through them).
  const std::optional<KeyLimit>& Link() const { return link_; }
  const std::optional<KeyLimit>& RangeStart() const { return rangeStart_; }
  const std::optional<KeyLimit>& RangeEnd() const { return rangeEnd_; }

  void PrepareView() override;
  bool RecordInView(const Row& row) const override;
  void InitNewRecord() override;
  void ReleaseSource() override;
  int FindRow(const QList<Field*>& fields, const QList<Variant>& values, LocateOptions options) override;
  // Whether the records come in the order the system compares the first
  // count fields of the index in (a source ordered by an engine may order
  // text otherwise).
  virtual bool OrderedAsTheSystemCompares(int /*count*/) const { return true; }

 private:
  QList<int> resolveIndex() const;
  QList<Field*> indexFields(int count) const;
  void requireIndex() const;
  void chooseIndex(const QString& name, const QString& fieldNames);
  // The place of the first record at or after the key on count index
  // fields, reading from there where the records read do not tell it.
  enum class SeekFor { Record, EqualRecords };
  int seek(const Row& key, int count, SeekFor wanted = SeekFor::Record) const;
  int findThroughCandidates(const QList<Field*>& fields, const QList<Variant>& values, LocateOptions options);
  QList<Variant> masterValues() const;
  std::optional<KeyLimit> linkFromMaster();
  void masterChanged(Field* field);
  void followMaster();

  ::IndexDefs indexDefs_;
  QString indexName_;
  QString indexFieldNames_;
  QList<int> indexColumns_;
  std::optional<KeyLimit> rangeStart_;
  std::optional<KeyLimit> rangeEnd_;
  QPointer<DataSource> masterSource_;
  QMetaObject::Connection masterConnection_;
  QString masterFields_;
  std::optional<KeyLimit> link_;
};
