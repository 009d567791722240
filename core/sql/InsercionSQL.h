#pragma once

#include <QString>

class Table;

// Inserts one record from a text: the table name on the first line, then
// Field=Value lines; lines without a name or a value are left out, and
// single quotes are removed from the values. Runs through EjecutarSQLADO
// when the options hold "ADOConnection", else through EjecutarSQL. True when
// the insert ran.
bool InsertarValores(const QString& textoInsercion, const QString& baseDatos, const QString& opciones = QString());

// On SQL Server, writes again the memo fields of the table's current record
// by its key.
void SentenciaUpdate(Table& tabla);
