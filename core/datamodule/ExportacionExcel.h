#pragma once

#include <QString>

class Dataset;

// Writes the records of an open dataset into a workbook (.xlsx at the name
// given or chosen; ".xlsx" is added to a name without extension); with a
// detail dataset, each record is followed by the detail records it holds.
// Fields tagged 999 are left out. Options: "SinDialogo" (no question, file
// dialog or message; the name is used as given), "SinFormatoCampos"
// (headings without asking).
void ExportarExcel(Dataset* principal, Dataset* detalle, const QString& archivo, const QString& opciones);
