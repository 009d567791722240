#pragma once

#include <QString>

// The value of the approximate search widened into character classes, so
// that accents, b/v, c/k, ch/tx/tz and i/y match each other: A-Z lower-cased,
// then the twenty replacements in their order.
QString PatronAproximado(QString valor);
