#include "core/helpers/ConfiguracionSQL.h"

QString FormatoFechaSQL = QStringLiteral("mm/dd/yyyy");
QString FechaNulaSQL = QStringLiteral("12/30/1899 00:00:00");
