#pragma once

#include <QString>

#include <functional>

// The engine name of a table ("dbo." in front on SQL Server), given by the
// table-naming routines of the data module once they are installed; until
// then the name as it is.
using NombreTablaFisicaInstalado = std::function<QString(const QString& tabla)>;
void InstalarNombreTablaFisica(NombreTablaFisicaInstalado nombre);
QString NombreTablaFisica(const QString& tabla);
