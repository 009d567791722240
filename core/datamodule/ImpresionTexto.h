#pragma once

#include <QString>

// Prints on the default printer, as a plain text page: the title in upper
// case, an empty line, then each line of the text. A job that cannot start
// raises.
void ImprimirTexto(const QString& texto, const QString& titulo);
