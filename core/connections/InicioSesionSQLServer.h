#pragma once

#include <QString>

class Database;
class StringList;

// A connection parameter line written even when its value is empty, so the
// connection does not take the alias's own value in its place.
void EscribirParametroConexion(StringList& parametros, const QString& nombre, const QString& valor);

// Opens the company connection of start-up. When SQL Server refuses the
// stored password of the SQL Server login, the user is asked for it (an
// empty one only once confirmed) and each new one is tried, kept for the
// session and stored scrambled in the program INI file, until the connection
// opens. Closing the question, or a program told to end, raises the refusal.
// Any other failure on SQL Server creates the database instead; on other
// engines it raises.
void AbrirBaseDatosEmpresaInicio(Database& database);
