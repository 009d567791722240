#include "platform/controls/FieldDataLink.h"

#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include <QScopedValueRollback>

FieldDataLink::FieldDataLink(QObject* control) : QObject(control) {}

void FieldDataLink::SetSource(DataSource* source) {
  if (source_ == source) return;
  source_ = source;
  connectSource();
  refresh();
}

void FieldDataLink::SetFieldName(const QString& name) {
  fieldName_ = name;
  refresh();
}

void FieldDataLink::connectSource() {
  disconnect(dataConnection_);
  disconnect(stateConnection_);
  if (!source_) return;
  dataConnection_ = connect(source_, &DataSource::DataChange, this, [this](Field* field) {
    if (!field || field == BoundField()) refresh();
  });
  stateConnection_ = connect(source_, &DataSource::StateChange, this, [this] { refresh(); });
}

Field* FieldDataLink::BoundField() const {
  if (!source_ || fieldName_.isEmpty()) return nullptr;
  Dataset* dataset = source_->DataSet();
  if (!dataset || !dataset->Active()) return nullptr;
  return dataset->FindField(fieldName_);
}

bool FieldDataLink::CanModify() const {
  Field* field = BoundField();
  return field && !field->ReadOnly() && field->DataSet()->CanModify();
}

bool FieldDataLink::Edit() {
  if (!CanModify()) return false;
  Dataset* dataset = BoundField()->DataSet();
  switch (dataset->State()) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
      return true;
    case dsBrowse:
      // Edit on an empty dataset starts a new record.
      dataset->Edit();
      return dataset->State() == dsEdit || dataset->State() == dsInsert;
    default:
      return false;
  }
}

void FieldDataLink::refresh() {
  if (OnRefresh) OnRefresh();
}

void DataAwareControl::BeginChange(const std::function<void()>& showField) {
  try {
    const QScopedValueRollback guard(showing_, true);
    changed_ = link_.Edit();
  } catch (...) {
    changed_ = false;
    showField();
    throw;
  }
  if (!changed_) showField();
}

void DataAwareControl::StoreChange(const std::function<void(Field&)>& write) {
  Field* field = BoundField();
  if (!changed_ || !field) return;
  {
    const QScopedValueRollback guard(showing_, true);
    write(*field);
  }
  changed_ = false;
}

void DataAwareControl::WriteNow(const std::function<void(Field&)>& write) {
  const QScopedValueRollback guard(showing_, true);
  if (link_.Edit()) write(*BoundField());
}
