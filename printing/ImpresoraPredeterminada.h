#pragma once

#include <QString>

// Makes the named printer the system's default for a printed-form job. Only
// Windows NT keeps its default printer in the profile this changed; here a
// job opens its printer by name through the printer layer, so nothing is
// changed and nothing needs giving back.
void CambiarImpresoraPredeterminada(const QString& nombre);
