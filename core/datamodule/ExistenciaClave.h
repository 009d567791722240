#pragma once

#include "platform/Variant.h"

#include <QString>

class Dataset;
class Table;

// Lookups by a record key text: each key field's value followed by ";". Key
// fields come from the SQL Server catalogue, or from the local file's own on
// Paradox folders.

// Whether a record of that key exists in the dataset's table (a query's
// first table after FROM); false when the statement fails. Missing pieces
// are compared with the empty text.
bool ExisteClave(Dataset& dataset, const QString& clave);
bool ExisteClaveEnTabla(const QString& tabla, const QString& clave);

// The values, as text, of the listed fields (names joined by ";"; none: every
// field) of the record of that key, or Null. On SQL Server an empty piece
// also matches NULL and a d/m/y piece of a date key is read as a date; on the
// other engines the lookup goes through LeerRegistroClave.
Variant ConsultaFiltrada(const QString& tabla, const QString& clave, Variant& valores, const QString& campos);
// The same through a copy of the table on its index. A last piece beginning
// "Ant:" asks for the record before the one of the key, within the same
// leading key values.
Variant LeerRegistroClave(const Table& tabla, const QString& clave, Variant& valores, const QString& campos);
