#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>

namespace SqlText {

// A table or column name as an SQLite identifier.
inline QString Quoted(const QString& name) {
  QString quoted = name;
  quoted.replace(u'"', QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

// The first of SQLite's names for a table's row id that none of its columns
// takes (a column named so hides the row id under that name); empty where
// the columns take all three.
inline QString FreeRowIdName(const QStringList& columnNames) {
  static constexpr QStringView kRowIdNames[] = {u"rowid", u"_rowid_", u"oid"};
  for (const QStringView name : kRowIdNames)
    if (std::none_of(columnNames.begin(), columnNames.end(),
                     [&](const QString& column) { return column.compare(name, Qt::CaseInsensitive) == 0; }))
      return name.toString();
  return QString();
}

}  // namespace SqlText
