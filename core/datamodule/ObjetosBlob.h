#pragma once

#include <QString>

// Objects (documents, pictures) stored in BLOBTAB for a record of a table.

// The object's type (its file extension, "PDF"); the SQL layer's error text
// when the statement fails.
QString TipoObjetoBlob(const QString& tabla, const QString& clave, const QString& idObjeto);
// Writes the object's bytes to a new file in the temporary folder, named
// after a temporary table name with the type as its extension in lower case,
// and gives its full name; empty when there is no such object or it cannot
// be written.
QString ExtraerObjetoBlob(const QString& tabla, const QString& clave, const QString& idObjeto);
