#pragma once

#include <QString>

// The progress window's one call of the translation of interface texts. That
// translation is not in the program yet, so the text comes back as written.
QString TraducirTextoProgreso(const QString& texto);
