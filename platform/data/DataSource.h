#pragma once

#include "platform/data/Dataset.h"

#include <QObject>
#include <QPointer>

#include <functional>

class DataSource;
class Field;

using DataChangeEvent = std::function<void(DataSource&, Field* field)>;
using DataSourceNotifyEvent = std::function<void(DataSource&)>;

// What links controls and detail datasets to a dataset: it passes on the
// dataset's changes of state and data, except while the dataset's controls
// are disabled.
class DataSource : public QObject {
  Q_OBJECT

 public:
  explicit DataSource(QObject* owner = nullptr);
  ~DataSource() override;

  Dataset* DataSet() const { return dataSet_; }
  void SetDataSet(Dataset* dataSet);
  // The dataset's state; dsInactive without a dataset.
  DataSetState State() const;

  // A field's value changed (field), or the current record or the whole set
  // did (nullptr).
  DataChangeEvent OnDataChange;
  DataSourceNotifyEvent OnStateChange;

  // The datasets whose master this source is: they post their pending
  // record before the dataset moves.
  void AddDetail(Dataset* detail);
  void RemoveDetail(Dataset* detail);

 signals:
  void DataChange(Field* field);
  void StateChange();

 private:
  void dataChanged(Field* field);
  void stateChanged();

  friend class Dataset;
  QPointer<Dataset> dataSet_;
  QList<QPointer<Dataset>> details_;
  QMetaObject::Connection dataConnection_;
  QMetaObject::Connection stateConnection_;
};
