#pragma once

// Creates the database of company n: on Paradox the company's data folder
// with its data file, on any other engine the server database
// AliasBaseDatosEmpresa followed by n (CrearBaseDatosSQLServer). A failure
// ends the program with its error message and the result is false.
bool CrearBaseDatosEmpresa(int empresa);
