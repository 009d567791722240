#pragma once

#include <QList>
#include <QString>

class Table;

// Copies the current record of a table under new key values, with the
// records of its detail tables (each showing the details of that record).
// The key fields are the table's first n fields, n its index field count.
// The result is empty on success, "Cancelada" when the user cancelled or a
// value was refused (nothing written), or "Error: " and the reason when the
// new record could not be written or the table opened. Details that fail
// are left out; a detail table that cannot be opened is warned of and
// skipped. The new record and its details are written together or not at
// all.
void DuplicarRegistro(Table& tabla, Table* detalle, QString& resultado);
void DuplicarRegistroDetalles(Table& tabla, const QList<Table*>& detalles, QString& resultado);
// The new key as values separated by ";"; empty: asked field by field, the
// next free code proposed.
void DuplicarRegistroClave(Table& tabla, const QList<Table*>& detalles, const QString& nuevaClave,
                           QString& resultado);
