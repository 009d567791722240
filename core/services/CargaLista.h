#pragma once

#include <QString>

class Table;

// Appends one row per line of the list to the open list table, in one
// transaction of its database: its first field "GENEMLISLinea" numbered
// from 1, then field j the j-th "|" piece of the line (missing pieces empty,
// extra ones ignored, a piece the field refuses left empty, "·" a line
// break in a memo). A failure raises; when the load began the transaction,
// the table is left as it was.
void CargarLineasLista(Table& tabla, const QString& lista, int numeroCampos);
