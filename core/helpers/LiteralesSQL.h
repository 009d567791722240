#pragma once

#include "platform/Variant.h"
#include "platform/sql/NombresSQL.h"

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

// The system's refusal of a name, the same for every kind of object.
inline constexpr char16_t kNombreNoValido[] =
    u"¡El nombre de campo no es válido! Debe ser una combinación de dígitos a..z,A..Z,0..9 comenzando por letra y "
    u"una longitud máxima de 25 caracteres.";
// That refusal naming the name (its control characters shown as "?").
QString MensajeNombreNoValido(const QString& nombre);
// A name as a message shows it: its control characters as "?".
QString NombreVisible(const QString& nombre);
