#pragma once

class QObject;
class TfGENEINIC;

// Opens the tables a data module owns, in component order, each on the
// general or the company database by its table name (on SQL Server under its
// physical name); a missing table is created and opened again. A table that
// cannot be created is recorded as an incident and stays closed; any other
// failure ends the program with its error message, recorded and handed to
// the Paradox repair list. The general parameters open only in the suite's
// module programs with a company selected. The module's texts are then
// translated.
void AbrirTablasModulo(TfGENEINIC& servicios, QObject& modulo);
