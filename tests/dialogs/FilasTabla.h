#pragma once

#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <QStringList>

#include <ostream>

// Every row of the table, its fields as text joined by "|".
inline QStringList FilasTabla(Table& tabla) {
  QStringList filas;
  for (tabla.First(); !tabla.Eof(); tabla.Next()) {
    QStringList campos;
    for (int i = 0; i < tabla.FieldCount(); ++i) campos.append(tabla.Fields(i).AsString());
    filas.append(campos.join(u'|'));
  }
  return filas;
}

inline void PrintTo(const QStringList& lines, std::ostream* out) { *out << '[' << lines.join(u" / ").toStdString() << ']'; }
