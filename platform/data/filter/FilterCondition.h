#pragma once

#include "platform/data/FieldComparison.h"

#include <QList>
#include <QString>

#include <memory>

class Field;
class FilterSqlWriter;

enum class FilterComparison { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual };

// One node of a parsed filter expression, evaluated on the record its
// fields show.
class FilterCondition {
 public:
  virtual ~FilterCondition() = default;
  virtual bool Holds() const = 0;
  // Adds the fields it reads.
  virtual void AddFields(QList<const Field*>& fields) const = 0;
  // Writes itself as the engine's SQL; false where it has none exact.
  virtual bool WriteSql(FilterSqlWriter& /*sql*/) const { return false; }
};

namespace FilterConditions {

using FieldComparison::Operand;
using FieldComparison::TextCase;

std::unique_ptr<FilterCondition> FieldWithConstant(const Field& field, FilterComparison comparison, Operand constant,
                                                   TextCase textCase);
std::unique_ptr<FilterCondition> FieldWithPrefix(const Field& field, bool equal, QString prefix, TextCase textCase);
std::unique_ptr<FilterCondition> FieldWithField(const Field& left, FilterComparison comparison, const Field& right,
                                                TextCase textCase);
std::unique_ptr<FilterCondition> BooleanField(const Field& field);
std::unique_ptr<FilterCondition> Not(std::unique_ptr<FilterCondition> operand);
std::unique_ptr<FilterCondition> And(std::unique_ptr<FilterCondition> left, std::unique_ptr<FilterCondition> right);
std::unique_ptr<FilterCondition> Or(std::unique_ptr<FilterCondition> left, std::unique_ptr<FilterCondition> right);

}  // namespace FilterConditions
