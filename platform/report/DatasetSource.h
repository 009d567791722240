#pragma once

#include "platform/report/ReportSource.h"

#include <QHash>

class Dataset;
class Field;

// The records of a dataset as a report walks them: numbers for numeric
// fields, the bytes of binary fields (pictures), the field's text for the
// rest; a field the dataset does not have reads empty.
class DatasetSource : public ReportSource {
 public:
  explicit DatasetSource(Dataset& dataset) : dataset_(dataset) {}
  void First() override;
  void Next() override;
  bool Eof() const override;
  QVariant Value(const QString& field) const override;

 private:
  Dataset& dataset_;
  mutable QHash<QString, Field*> fields_;
};
