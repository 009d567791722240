#pragma once

#include <QString>

// Whether a column of that name could not be created: a keyword SQL Server
// reserves, or one SQLite takes for its own in a column definition. Any case.
bool NombreColumnaReservado(const QString& nombre);
