#pragma once

#include "platform/report/PrintSettings.h"

#include <QString>

// Prints as a plain text page, on the printer the settings choose (the
// default printer unless they name one): the title in upper case, an empty
// line, then each line of the text. A job that cannot start raises.
void ImprimirTexto(const QString& texto, const QString& titulo, const PrintSettings& ajustes = {});
