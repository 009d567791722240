#pragma once

#include <QString>

// Creates the database of company n: on Paradox the company's data folder
// with its data file, on any other engine the server database
// AliasBaseDatosEmpresa followed by n (CrearBaseDatosSQLServer). A failure
// shows its message of that kind (an error ends the program) and the result
// is false.
bool CrearBaseDatosEmpresa(int empresa, const QString& tipoMensaje = QStringLiteral("E"));
// Removes the data file of company n's Paradox folder with its side files.
// The reason it does not, empty when it did: another copy of the program
// runs, or this one has the file open.
QString EliminarDatosCarpetaEmpresa(int empresa);
