#include "platform/data/DataSource.h"

#include "platform/data/Field.h"

DataSource::DataSource(QObject* owner) : QObject(owner) {}

DataSource::~DataSource() {
  if (dataSet_) dataSet_->sources_.removeAll(this);
}

void DataSource::AddDetail(Dataset* detail) {
  if (!details_.contains(detail)) details_.append(detail);
}

void DataSource::RemoveDetail(Dataset* detail) { details_.removeAll(detail); }

void DataSource::SetDataSet(Dataset* dataSet) {
  if (dataSet_ == dataSet) return;
  QObject::disconnect(dataConnection_);
  QObject::disconnect(stateConnection_);
  if (dataSet_) dataSet_->sources_.removeAll(this);
  dataSet_ = dataSet;
  if (dataSet) {
    dataSet->sources_.append(this);
    dataConnection_ = connect(dataSet, &Dataset::DataChanged, this, &DataSource::dataChanged);
    stateConnection_ = connect(dataSet, &Dataset::StateChanged, this, &DataSource::stateChanged);
  }
  stateChanged();
  dataChanged(nullptr);
}

DataSetState DataSource::State() const { return dataSet_ ? dataSet_->State() : dsInactive; }

void DataSource::dataChanged(Field* field) {
  if (dataSet_ && dataSet_->ControlsDisabled()) return;
  emit DataChange(field);
  if (OnDataChange) OnDataChange(*this, field);
}

void DataSource::stateChanged() {
  if (dataSet_ && dataSet_->ControlsDisabled()) return;
  emit StateChange();
  if (OnStateChange) OnStateChange(*this);
}
