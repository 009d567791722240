#pragma once

#include "platform/Variant.h"
#include "platform/data/Dataset.h"
#include "tests/fixtures/Records.h"
#include "tests/platform/data/DataFixture.h"

#include <QString>
#include <QStringList>

#include <functional>

// The values of some fields in every record a dataset shows, from the first
// one, each record's values joined by ":".
QStringList Walk(Dataset& dataset, const QString& fieldNames);

// LINEAS (CodigoTemporal, Linea, LineaMemo: the key; Texto; Importe;
// Fecha) in the folder, created empty.
void CreateLines(const DataFixture& data);
void AddLine(const DataFixture& data, int document, int line, int memoLine, const QString& text);
