#include "platform/data/IndexOrder.h"

#include "platform/data/StoredValue.h"
#include "platform/sql/Collation.h"

int IndexOrder::CompareValues(const QVariant& a, const QVariant& b) {
  if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
    return Collation::Default().Compare(a.toString(), b.toString());
  return StoredValue::Compare(a, b);
}

int IndexOrder::Compare(const QList<QVariant>& a, const QList<QVariant>& b, int count) const {
  const int used = count < 0 ? Count() : std::min(count, Count());
  for (int i = 0; i < used; ++i) {
    const int column = columns_[i];
    const int order = CompareValues(a[column], b[column]);
    if (order != 0) return order;
  }
  return 0;
}
