#pragma once

#include <QString>

class Dataset;
class Table;

// Each listed field (names joined by ";"; none: every field of the source)
// of the target, in insert or edit mode, gets the value of the source's
// field of the same name, as its text would carry it (Field::AssignValue);
// a field that cannot be copied is skipped.
void CopiarCampos(const Dataset& origen, Dataset& destino, const QString& campos = QString());

// Copies every record of the source into the target table. Mode words:
// "Copiar" empties the target first and appends, "Agregar" appends (a record
// the target refuses is skipped), "Sustituir" replaces the record found by
// the source's key.
void CopiarRegistros(Dataset& origen, Table& destino, const QString& modo);

// Shows the current rows of an open dataset; on SQL Server with the mode
// "Apertura/Cierre" a table comes back to the record it was on.
void RefrescarDataSet(Dataset& dataSet, const QString& modo = QString());
