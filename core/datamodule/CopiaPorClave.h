#pragma once

#include <QString>

class Table;

// Record keys and copies across records of one table, through a second copy
// of the table so that the caller's record and position stay as they are.
// A key text holds the key fields' texts, each followed by ";".

// The key of the last record whose leading key fields (all but the last)
// equal the current record's; a key of 6 or more fields sets no range.
QString UltimaClaveRango(Table& tabla);
// Copies the non-key fields of the record of that key into the table's
// record being edited or inserted (keys of up to 6 fields).
void CopiarRegistroClave(Table& tabla, const QString& clave);
// Copies one field of the record of that key (keys of up to 5 fields).
void CopiarCampoDeRegistro(Table& tabla, const QString& campo, const QString& clave);
