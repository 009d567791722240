#pragma once

#include "platform/Variant.h"

#include <QString>

#include <functional>

// The texts of table TEXTO; a row of type "Plantilla" is a fill-in template
// whose lines each begin with a name followed by ":".

// The text of the code, or the template filled in; with no code or an
// unknown one the user chooses a text, the code as the search's default.
QString TextoPlantilla(const QString& codigo);
// Asks for the template's names in the add-data grid and gives back its
// lines "name: value", each ended by CR LF.
QString RellenarPlantilla(const QString& codigo);
