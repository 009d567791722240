#pragma once

#include <QString>

#include <cstddef>

// Field names as the engine compares them: without regard to case. The hash
// agrees with the comparison, so a dataset finds a field by name at once.
struct FieldNameHash {
  std::size_t operator()(const QString& name) const noexcept;
};

struct FieldNameEqual {
  bool operator()(const QString& a, const QString& b) const noexcept {
    return a == b || a.compare(b, Qt::CaseInsensitive) == 0;  // most often written as declared
  }
};
