#pragma once

#include <QString>

class Table;

// The key under which the shared side tables keep what hangs off a record:
// the texts of its first n fields (n its primary key's field count; a time
// field by its time text) joined by "|".
QString ClaveAsociada(const Table& tabla);

// Deletes the rows of RESPDOC, DOCUTRON, BLOBTAB, GRANTAB, CONTACTO and
// RELACION that belong to the table's current record, each statement tried
// and its failure warned of on its own. Always true.
bool EliminarRegistrosAsociados(Table& tabla);

// Deletes the current record of a company table with what hangs off it, in
// one transaction on the company database: when the record cannot be
// deleted nothing is removed and the failure is raised again. The failures
// of the side tables are warned of once the transaction has ended. A record
// of the general database is deleted alone.
void EliminarRegistroConAsociados(Table& tabla);
