#pragma once

#include <QString>

class Dataset;

// The class name of the programmable listing form, created once at start-up:
// a slot MostrarListadoProgramable(Dataset*, QString clave, QString titulo,
// QString opciones) that returns when the dialog closes, and the toggle button
// pbActivarTablaLogica.
inline constexpr auto kFormularioListado = "TfGENECPRO";

// Hands a table to the programmable listing; a query through a table on
// its first table after FROM. Other datasets are ignored.
void ListarDataSet(Dataset& dataSet);
// Lists a copy of every record and field of an open dataset, in its field
// order, made in a temporary table deleted afterwards; asks first above
// 1000 records. The dataset comes back to its record.
void ListarEnTablaTemporal(Dataset& dataSet, const QString& clave, const QString& titulo);
// Deletes every record the dataset shows (its filter and range) after two
// confirmations; false when a record could not be deleted.
bool EliminarTodosRegistros(Dataset& dataSet);
