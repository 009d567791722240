#include "platform/report/DatasetSource.h"

#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "platform/data/TypeTable.h"

void DatasetSource::First() {
  fields_.clear();  // fields made at an opening are gone at the next
  dataset_.First();
}

void DatasetSource::Next() { dataset_.Next(); }

bool DatasetSource::Eof() const { return dataset_.Eof(); }

QVariant DatasetSource::Value(const QString& name) const {
  auto found = fields_.find(name);
  if (found == fields_.end()) found = fields_.insert(name, dataset_.FindField(name));
  const Field* field = *found;
  if (!field || field->IsNull()) return {};
  switch (TypeTable::ValueClassOf(field->DataType())) {
    case ValueClass::Integer: return QVariant::fromValue<qlonglong>(field->AsVariant().AsInt64());
    case ValueClass::Float: return field->AsFloat();
    case ValueClass::Binary: return field->AsBytes();
    default: return field->AsString();
  }
}
