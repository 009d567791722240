#pragma once

#include <QString>

// The database of company n as the suite's modules name it: on Paradox (or
// no engine) the data folder, subfolder n for n above 0; on SQL Server and
// Interbase AliasBaseDatosEmpresa followed by n (alone for 0); empty on any
// other engine.
QString NombreBaseDatosEmpresaUnidad(int empresa);
