#pragma once

#include "platform/Variant.h"

#include <QString>

#include <functional>

class Dataset;

// The record search's routines (the search launcher's), which the dialogs
// give once the program is built. Each answers the chosen record's key
// values as an array, Null when nothing was chosen; until they are given
// nothing is ever chosen.
struct RutinasBusqueda {
  std::function<Variant(const QString& tabla, int indice)> BuscarDato;
  std::function<Variant(const QString& tabla, int indice, const QString& condicion)> BuscarDatoFiltrado;
  std::function<Variant(const QString& tabla, int indice, const QString& condicion, const QString& defecto)>
      BuscarDatoPorDefecto;
  // Searches the dataset's table from its current record and moves it to the chosen one.
  std::function<Variant(Dataset& dataset, int indice)> BuscarRegistro;
};

// Empty routines put back the default.
void InstalarRutinasBusqueda(RutinasBusqueda rutinas);
const RutinasBusqueda& Busquedas();

// The routines as installed, Null where none is.
Variant BuscarDato(const QString& tabla, int indice);
Variant BuscarDatoFiltrado(const QString& tabla, int indice, const QString& condicion);
Variant BuscarDatoPorDefecto(const QString& tabla, int indice, const QString& condicion, const QString& defecto);
Variant BuscarRegistro(Dataset& dataset, int indice);
