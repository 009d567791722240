#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstring>

// Whether two stored values are the same value: type, nullness (of the
// variant and of a text or bytes within it) and contents, a double by its
// bits.
inline bool IdenticalValues(const QVariant& a, const QVariant& b) {
  if (a.metaType() != b.metaType() || a.isNull() != b.isNull()) return false;
  switch (a.metaType().id()) {
    case QMetaType::QString:
      return a.toString().isNull() == b.toString().isNull() && a.toString() == b.toString();
    case QMetaType::QByteArray:
      return a.toByteArray().isNull() == b.toByteArray().isNull() && a.toByteArray() == b.toByteArray();
    case QMetaType::Double: {
      const double x = a.toDouble(), y = b.toDouble();
      return std::memcmp(&x, &y, sizeof x) == 0;
    }
    default:
      return a == b;
  }
}
