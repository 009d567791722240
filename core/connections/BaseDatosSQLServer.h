#pragma once

#include <QString>

// Creates a database on the server with the installation's collation,
// compatibility level 80 and simple recovery. A failed step shows its
// message of that kind (an error ends the program) and the result is false.
bool CrearBaseDatosSQLServer(const QString& nombre, const QString& tipoMensaje = QStringLiteral("E"));
// The server holds a database of that name.
bool ExisteBaseDatosSQLServer(const QString& nombre);
