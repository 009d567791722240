#pragma once

#include <QString>
#include <QVariant>

struct LineaInstruccion;

// The design test of a printout draws names, not values.
bool PruebaDiseno();
// The number format of a value command: its own (arguments 6, 7, 8), else the
// one for the field's name.
QString FormatoValor(const LineaInstruccion& linea, const QString& campo);
// A field's value as text.
QString TextoCampo(const QVariant& valor);
