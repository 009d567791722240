#pragma once

#include <QString>

class Dataset;
class Table;

// The table and record key the responsibility form works on, set before it
// is created.
extern QString TablaResponsabilidad;
extern QString ClaveResponsabilidad;

// The after-post hook of every data form's tables: offers the user fields
// and, for a record of a table configured in CONFRESP that has no RESPDOC
// row yet, the responsibility form.
void ComprobarResponsabilidadDocumental(Dataset& dataset);

// Creates the responsibility form on the table's current record (it registers
// the change while being created) and shows it only when it has fields for
// the user to fill in. Nothing unless the feature is on and the table is
// configured.
void ResponsabilidadDocumental(Table& tabla);
