#pragma once

#include <QString>

// Where a table lives, by its name. An owner prefix ("dbo.EMPRESA") is
// dropped: the piece after the first "." counts.
bool EsTablaGeneral(const QString& tabla);   // one of the general database's tables, exact case
bool EsTablaTemporal(const QString& tabla);  // "TEMP" in any case, 9 characters or more
