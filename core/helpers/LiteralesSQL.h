#pragma once

#include "platform/Variant.h"

#include <QString>

// The SQL literal of a value: floating numbers with six decimals and "." as
// the point, integers as digits, single-byte texts between quotes (inner
// quotes left as they are), dates in FormatoFechaSQL with " hh:nn:ss" between
// quotes (FechaNulaSQL for a zero date), null as two quotes. Every other kind
// (small and 64-bit integers, booleans, bytes, wide texts, arrays, empty)
// gives the empty text.
QString ValorSQL(const Variant& valor);

// A text between single quotes with every inner quote doubled: the literal
// for values that may hold a quote.
QString LiteralSQL(const QString& texto);

// A table, column, index or database name as SQL Server reads it: as it is
// when it is a plain name (a letter or "_", then letters, digits and "_"),
// otherwise between brackets with every "]" doubled, so that no stored name
// ends the statement it is written into.
QString NombreSQL(const QString& nombre);
