#pragma once

#include "core/services/RutinasBusqueda.h"

// The search launcher: every data form's way of letting the user pick a
// record of a table, through the record search, or through the approximate
// search when the installation uses it (BusquedaAproximadaActivada). The
// answer is Null when nothing was chosen, else an array of the chosen key
// values as texts, an empty value as the empty text.
namespace Genebusc {

Variant BuscarDato(const QString& tabla, int indice);
Variant BuscarDatoFiltrado(const QString& tabla, int indice, const QString& condicion);
Variant BuscarDatoPorDefecto(const QString& tabla, int indice, const QString& condicion, const QString& defecto);
// Searches the table of the dataset (a Table) from its current record's key
// and moves it to the record chosen.
Variant BuscarRegistro(Dataset& dataset, int indice);

// The routines above, for the program to install.
RutinasBusqueda Rutinas();

}  // namespace Genebusc
