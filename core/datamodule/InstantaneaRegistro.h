#pragma once

#include <QString>

class Dataset;

// The program's one copy of a record: each field's text followed by "|", in
// field order (a time field by its time text).
extern QString CamposHoraGuardados;

// Copies the current record into CamposHoraGuardados (nothing from an empty
// dataset) and returns it.
QString CamposHoraRegistro(Dataset& dataset);
// Writes the copy into the current record, field i taking element i, and
// leaves the record in edit (or insert) state; "SinIndices" leaves the
// current index's fields alone. A field that refuses its value is skipped.
void RestaurarCamposRegistro(Dataset& dataset, const QString& opciones = QString());
