#pragma once

#include <QString>
#include <QVariant>

// The records a report walks, forward only. Values are numbers for numeric
// fields, texts for the rest, and the bytes of a picture field.
class ReportSource {
 public:
  virtual ~ReportSource() = default;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual bool Eof() const = 0;
  virtual QVariant Value(const QString& field) const = 0;
};
