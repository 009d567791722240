#include "platform/data/DataSource.h"

#include "platform/data/Field.h"

DataSource::DataSource(QObject* owner) : QObject(owner) {}

DataSource::~DataSource() = default;

void DataSource::SetDataSet(Dataset* dataSet) {
  if (dataSet_ == dataSet) return;
  QObject::disconnect(dataConnection_);
  QObject::disconnect(stateConnection_);
  dataSet_ = dataSet;
  if (dataSet) {
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
