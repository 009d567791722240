#include "core/progress/Traduccion.h"

QString TraducirTextoProgreso(const QString& texto) { return texto; }
