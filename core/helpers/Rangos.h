#pragma once

#include <QString>

// The description of a filter range: one line per field, "field|from|to";
// each line with a from or a to value gives "Desde <Field>: <from>, Hasta
// <Field>: <to>, ", the field's name split into words.
QString DescripcionRango(const QString& definicion);
