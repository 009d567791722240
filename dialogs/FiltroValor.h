#pragma once

#include <QStringList>

class Dataset;
class Field;

// The value filters of the grids' pop-up menus: for each operator ("=",
// ">=", "<=") asks for a value of the field, proposing its text, and adds
// "(field operator 'value')" with " AND " to the dataset's filter, which is
// switched on. False when the user closed a question or the filter could not
// be applied ("¡No ha sido posible filtrar registros!"; the filter stays as it was).
bool FiltrarPorValor(Dataset& datos, const Field& campo, const QStringList& operadores);
