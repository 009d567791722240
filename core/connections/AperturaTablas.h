#pragma once

#include <QString>

#include <functional>

class QObject;
class Table;
class TfGENEINIC;

// What a failure of opening a table is handed to in place of the Paradox
// repair list (RepararTablas), which an empty one restores.
struct RegistroFallosTablas {
  std::function<void(Table& tabla, const QString& error)> RepararTablas;
};
void InstalarRegistroFallosTablas(RegistroFallosTablas registro);

// Opens a table on its database (general tables on the general database,
// "?" tables on the alternative one, temporary tables on their own, any
// other on the company's); a missing table is created from its definition
// and opened again. False when it could not be opened; any other failure
// than a missing table ends the program with its error message.
bool AbrirTabla(TfGENEINIC& servicios, QObject& llamador, Table& tabla);

// SELECT @@VERSION on the server's master database; raises when the server
// cannot be reached.
QString VersionSQLServer(TfGENEINIC& servicios, QObject* propietario);
