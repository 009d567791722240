#pragma once

#include <QString>
#include <QStringList>

class Table;
class TfGENEINIC;

// The services object's table of user fields, CAMPOUSR on the general
// database, made with the first call.
Table& CamposUsuario(TfGENEINIC& servicios);

// Start-up: CAMPOUSR opened (created when missing) and closed again; when it
// cannot be opened the program is asked to end.
void ComprobarCamposUsuario(TfGENEINIC& servicios);

// The field lines the user fields add to a table: "<table>/C/<1000, 1001
// ...>/<name>/<type>/<length>/NO", in CAMPOUSR's order. A field of an
// unknown type is left out; so is one whose name cannot be a name or holds
// a separator of the line, listed in noValidos. Raises when CAMPOUSR cannot
// be read.
QStringList LineasCamposUsuarioTabla(TfGENEINIC& servicios, const QString& tabla, QStringList* noValidos = nullptr);
