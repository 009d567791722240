#pragma once

#include "platform/Variant.h"
#include "platform/data/Dataset.h"
#include "tests/platform/data/DataFixture.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

// The values of some fields in every record a dataset shows, from the first
// one, each record's values joined by ":".
QStringList Walk(Dataset& dataset, const QString& fieldNames);

// Appends a record, or edits the current one, with these values by field
// name, and posts it.
using NamedValues = std::vector<std::pair<QString, Variant>>;
void AppendRecord(Table& table, const NamedValues& values);
void EditRecord(Table& table, const NamedValues& values);

inline Variant Int(int value) { return Variant::Integer(value); }
inline Variant Text(const QString& value) { return Variant::String(value); }

// LINEAS (CodigoTemporal, Linea, LineaMemo: the key; Texto; Importe;
// Fecha) in the folder, created empty.
void CreateLines(const DataFixture& data);
void AddLine(const DataFixture& data, int document, int line, int memoLine, const QString& text);
