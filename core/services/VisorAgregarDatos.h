#pragma once

#include "core/services/VisorValores.h"

#include <QString>

// Asks for named values in the name/value grid: the option lines "Titulo",
// "Opciones" and "DefinicionCampos" (row definitions "name,type,length,,
// lookup table,allowed values,lookup options" joined by ";"), the initial
// values one per line. The rows as name=value lines each ended by CR LF, or
// empty when the user does not save.
QString VisorAgregarDatos(const QString& opciones, const QString& valores);
