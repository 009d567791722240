#pragma once

#include <QList>
#include <QVariant>

// The order an index keeps records in, by some of their columns: text under
// the Spanish case- and accent-insensitive collation (as the engines' indexes
// sort it), every other value in its stored order, NULL first.
class IndexOrder {
 public:
  IndexOrder() = default;
  explicit IndexOrder(QList<int> columns) : columns_(std::move(columns)) {}

  bool IsEmpty() const { return columns_.isEmpty(); }
  int Count() const { return static_cast<int>(columns_.size()); }
  const QList<int>& Columns() const { return columns_; }

  // Two records (one value per column of the dataset) on the first count
  // columns of the order, all of them when count is negative.
  int Compare(const QList<QVariant>& a, const QList<QVariant>& b, int count = -1) const;
  static int CompareValues(const QVariant& a, const QVariant& b);

 private:
  QList<int> columns_;
};
