#pragma once

#include <QString>
#include <QStringList>

class Table;

// Inserts one record from a text: the table name on the first line, then
// Field=Value lines; lines without a name or a value are left out, and
// single quotes are removed from the values. Runs through EjecutarSQLADO
// when the options hold "ADOConnection", else through EjecutarSQL. True when
// the insert ran.
bool InsertarValores(const QString& textoInsercion, const QString& baseDatos, const QString& opciones = QString());

// The statement that writes again the memo fields of the table's current
// record by its key; empty when there is nothing to write. Names that cannot
// be names are left out (with the whole statement when one is of the key or
// the table) and added to noValidos.
QString TextoSentenciaUpdate(const Table& tabla, QStringList* noValidos = nullptr);

// On SQL Server, writes again the memo fields of the table's current record
// by its key.
void SentenciaUpdate(Table& tabla);
