#pragma once

#include "platform/data/filter/FilterCondition.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class Field;

// A filter as the engine's SQL, true for the records the dataset's
// evaluation passes and false or NULL for the others (a NULL compares with
// nothing, under NOT too), exact for the records whose columns read hold
// numbers or NULL; the constants bound in order.
struct FilterSql {
  QString text;
  QList<QVariant> arguments;
};

// Writes the nodes of a filter one by one; a node it has no exact SQL for
// leaves the whole filter to the dataset. Numbers only: text compares under
// the program's collation, and dates and booleans are read by their fields.
class FilterSqlWriter {
 public:
  // The column expression a field reads; empty for none.
  using ColumnOf = std::function<QString(const Field&)>;
  explicit FilterSqlWriter(ColumnOf columnOf) : columnOf_(std::move(columnOf)) {}

  bool Compare(const Field& field, FilterComparison comparison, double constant);
  bool Compare(const Field& left, FilterComparison comparison, const Field& right);
  bool Not(const FilterCondition& operand);
  bool Junction(const std::vector<std::unique_ptr<FilterCondition>>& operands, bool all);

  FilterSql Written() && { return std::move(written_); }

 private:
  QString number(const Field& field) const;
  void writeComparison(const QString& comparison);
  bool counted();
  // Counts a NOT, AND or OR as one level deeper; false past the deepest.
  bool entered();

  ColumnOf columnOf_;
  FilterSql written_;
  int nodes_ = 0;
  int negations_ = 0;  // around the node written
  int depth_ = 0;      // NOTs, ANDs and ORs around it
};
