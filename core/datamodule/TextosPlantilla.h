#pragma once

#include "platform/Variant.h"

#include <QString>

#include <functional>

// The texts of table TEXTO; a row of type "Plantilla" is a fill-in template
// whose lines each begin with a name followed by ":".

// The search dialog's choice of a record of a table with a default value in
// its search box (BuscarDatoPorDefecto): the chosen key, empty or Null when
// nothing is chosen. The dialog installs it; until then nothing is chosen.
using BusquedaPorDefecto =
    std::function<Variant(const QString& tabla, int indice, const QString& condicion, const QString& defecto)>;
// An empty search restores the default.
void InstalarBusquedaPorDefecto(BusquedaPorDefecto busqueda);

// The text of the code, or the template filled in; with no code or an
// unknown one the user chooses a text, the code as the search's default.
QString TextoPlantilla(const QString& codigo);
// Asks for the template's names in the add-data grid and gives back its
// lines "name: value", each ended by CR LF.
QString RellenarPlantilla(const QString& codigo);
