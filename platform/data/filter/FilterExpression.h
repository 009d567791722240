#pragma once

#include "platform/data/Dataset.h"
#include "platform/data/filter/FilterSql.h"

#include <QString>

#include <memory>
#include <optional>

class Field;
class FilterCondition;

// A filter expression of the engine, read against the fields of an open
// dataset: comparisons (=, <>, <, >, <=, >=) of a field with a constant or
// another field, joined by AND, OR and NOT, with parentheses. A quoted
// constant is read as its field's type (numbers and dd/mm/yyyy dates in the
// format engine's form); one ending in "*" compared with = or <> is a prefix
// of a text field, unless foNoPartialCompare.
class FilterExpression {
 public:
  // Nothing for an empty text; raises EDatabaseError with the engine's text
  // for a malformed one.
  static std::shared_ptr<const FilterExpression> Parse(const QString& text, const Dataset& dataset,
                                                       FilterOptions options);

  explicit FilterExpression(std::unique_ptr<FilterCondition> condition);
  ~FilterExpression();

  // Whether the record the dataset's fields show passes.
  bool Matches() const;
  // The fields it reads.
  QList<const Field*> Fields() const;
  // The engine's SQL for it, over the columns its fields read; nothing
  // where some part has no exact SQL.
  std::optional<FilterSql> Sql(FilterSqlWriter::ColumnOf columnOf) const;

 private:
  std::unique_ptr<FilterCondition> condition_;
};
