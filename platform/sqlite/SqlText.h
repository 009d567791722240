#pragma once

#include <QString>

namespace SqlText {

// A table or column name as an SQLite identifier.
inline QString Quoted(const QString& name) {
  QString quoted = name;
  quoted.replace(u'"', QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

}  // namespace SqlText
