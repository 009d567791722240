#pragma once

#include <QString>

// The search table assigned to each control, kept as name=value lines in
// BUSQUEDA.TXT in the program folder; a missing file counts as empty.
QString LeerBusqueda(const QString& nombre);
// An empty value removes the line; a file that cannot be read or written is
// warned of and left as it was. Other copies' lines written meanwhile stay.
void GrabarBusqueda(const QString& nombre, const QString& valor);
