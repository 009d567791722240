#pragma once

#include <QString>

// Creates a database on the server with the installation's collation,
// compatibility level 80 and simple recovery. A failed step ends the
// program with its error message and the result is false.
bool CrearBaseDatosSQLServer(const QString& nombre);
// The server holds a database of that name.
bool ExisteBaseDatosSQLServer(const QString& nombre);
