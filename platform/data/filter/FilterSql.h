#pragma once

#include "platform/data/filter/FilterCondition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class Field;

// A filter as the engine's SQL, true for the records the dataset's
// evaluation passes and false or NULL for the others (a NULL compares with
// nothing, under NOT too), exact for the records whose columns read as
// numbers hold numbers or NULL and whose columns read as text hold text;
// the constants bound in order.
struct FilterSql {
  QString text;
  QList<QVariant> arguments;
  QStringList textColumns;  // the column expressions read as text
};

// Writes the nodes of a filter one by one; a node it has no exact SQL for
// leaves the whole filter to the dataset. Numbers, and text compared under
// the program's default collation (or exactly, where case counts and only
// equality is asked); dates and booleans are read by their fields.
class FilterSqlWriter {
 public:
  // The column expression a field reads; empty for none.
  using ColumnOf = std::function<QString(const Field&)>;
  using TextCase = FieldComparison::TextCase;
  explicit FilterSqlWriter(ColumnOf columnOf) : columnOf_(std::move(columnOf)) {}

  bool Compare(const Field& field, FilterComparison comparison, double constant);
  bool Compare(const Field& left, FilterComparison comparison, const Field& right, TextCase textCase);
  bool CompareText(const Field& field, FilterComparison comparison, const QString& constant, TextCase textCase);
  bool StartsWith(const Field& field, bool equal, const QString& prefix, TextCase textCase);
  bool Not(const FilterCondition& operand);
  bool Junction(const std::vector<std::unique_ptr<FilterCondition>>& operands, bool all);

  FilterSql Written() && { return std::move(written_); }

 private:
  QString number(const Field& field) const;
  QString text(const Field& field);
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
