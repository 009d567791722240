#pragma once

#include <QString>

// The database a statement of the SQL routines runs on, from its logical
// name: "Database" (or empty), "DatabaseGeneral", "DatabaseAlt", "?" followed
// by a database name, or any database name as it is.

// For the engine's queries: the database name of the connection meant.
QString BaseDatosBDE(const QString& nombreLogico);
// For the ADO queries: the connection string meant, or the engine's database
// of a twin that has none (Paradox); the server of a name other than the
// services object's connections comes from the option "ServerName=" (up to
// the next comma). A connection not yet connected to any database is named
// by its logical name, which the engine refuses.
QString BaseDatosADO(const QString& nombreLogico, const QString& opciones);
