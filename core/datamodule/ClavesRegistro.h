#pragma once

#include "platform/Variant.h"

#include <QString>

class Dataset;
class Field;

// A record's key as text: each key field's text followed by ";" (a time
// field gives its time text), the key of a table from its own index
// definitions or from the catalogue, the key of a query from the first table
// after its FROM.
QString ClaveRegistro(Dataset& dataset);
// The table behind a dataset: a table's name, the first table after a
// query's FROM in upper case; empty for any other.
QString NombreTablaDataSet(Dataset& dataset);
// Whether the dataset belongs to a data module rather than to a form.
bool DataSetDeModuloDatos(const Dataset& dataset);
// The key values of the current record, to find it again (Null without key).
Variant ValoresClave(Dataset& dataset);
// Makes current the record of those key values; false without values.
bool LocalizarClave(Dataset& dataset, const Variant& valores);
int NumeroCamposClave(Dataset& dataset);
bool TablaVacia(Dataset& dataset);
// Whether the field is one of the dataset's current index fields.
bool EsCampoIndice(const Dataset& dataset, const Field& campo);
