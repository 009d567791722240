#pragma once

#include <QString>

// The current user's remembered search of each table: the key DatosBusqueda
// of the user's configuration holds entries "<table>:<fields><flags>", each
// followed by ",".

// The entry of the table; empty when it has none.
QString LeerDatosBusqueda(const QString& tabla);
// Replaces (or adds) the entry of the table, keeping every other table's as
// the user's row holds them when it is written.
void GrabarDatosBusqueda(const QString& tabla, const QString& valor);
