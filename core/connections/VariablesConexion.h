#pragma once

#include <QString>

// The values that connecting the databases sets, beside the start-up
// configuration.
extern int SesionBDE;                    // the engine session number of this instance; 0 when unknown
extern QString ServidorSQL;              // server name of the company alias ("np:" for named pipes)
extern QString IntercalacionTraduccion;  // collation of the TXIDIOMA columns
extern QString VersionServidorSQL;       // answer of SELECT @@VERSION

// Puts them back to their values before start-up.
void ResetVariablesConexion();
