#pragma once

#include "platform/Variant.h"

#include <QString>

#include <functional>

class Dataset;
class TfGENEINIC;

// The record search on a table (the search dialog's BuscarDato): the chosen
// record's key values as an array, Null when nothing is chosen. The dialog
// installs it; until then nothing is ever chosen.
using BusquedaDato = std::function<Variant(const QString& tabla, int indice)>;
// An empty search restores the default.
void InstalarBusquedaDato(BusquedaDato busqueda);
// The installed search on the table with that index; Null without one.
Variant BuscarDato(const QString& tabla, int indice);

// Lets the user choose a company and connects it; nothing chosen leaves
// EmpresaActual 0 and the connections as they were. EmpresaActual changes
// only once the chosen company is connected.
void SeleccionarEmpresa(TfGENEINIC& servicios);
// Points the company connection (and on SQL Server its ADO twin) at the
// company's database; on Paradox the company's folder, made on first use.
// A failure raises after the previous company is connected again.
void ConectarEmpresa(TfGENEINIC& servicios, int empresa);
// Connects the alternative connection to a second company (empresa -1: to
// the database named); asking again for the one it holds does nothing.
void ConectarBaseDatosAlternativa(TfGENEINIC& servicios, int empresa, const QString& nombre);
// Points a table or query at a company (0: the current one) through the
// "?" marker.
void PrepararDataSetEmpresa(TfGENEINIC& servicios, Dataset& dataSet, int empresa);
// The company's database name; on Paradox its folder, made when missing.
QString CarpetaOBaseDatosEmpresa(TfGENEINIC& servicios, int empresa);
