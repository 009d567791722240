#pragma once

#include <QString>

class Table;

// Creates a missing table from its definition and leaves the component on
// it. The definition is empty for the standard definitions, a block that
// holds "Tabla Temporal" for a temporary table (named and registered here),
// or two file paths joined by ";" (base file; first file). The company
// number serves a table whose database name begins with "?". False when the
// table already existed (the component is left on it) or could not be
// created; a refused statement ends in a silent abort after its messages.
bool CrearTabla(Table& tabla, const QString& definicion, int empresa);
