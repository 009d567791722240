#pragma once

#include "platform/data/FieldType.h"

#include <QString>
#include <QStringList>
#include <Qt>

class Field;

// What each cell of the programmable listing prints for the current record.

// Floats through FormatoNumerico of the field; date-times named with "HORA"
// as hh:nn:ss, others empty for a zero date; anything else as the field
// gives it. A value that cannot be formatted keeps the field's own text.
QString TextoDetalle(const Field& campo);

// The alignment of a value: floats right in columns; an instruction line
// "<field>=...JR..." of the record right-aligns it.
Qt::Alignment AlineacionDetalle(bool columnas, FieldType tipo, const QStringList& instrucciones, const QString& campo);

// A record whose first instruction line holds "Negrita" prints bold.
bool DetalleEnNegrita(const QStringList& instrucciones);

// Totals only for floats, and with a list other than "Todas" only for the fields named in it.
bool ColumnaConTotal(FieldType tipo, const QString& campo, const QString& listaTotales);

// The restrictions the listing was made under, on one line: each range with
// a value at either end ("Desde <campo>: x, Hasta <campo>: y, ", an end not
// given left empty) and the filter memo.
struct RangoImpreso {
  QString campo, desde, hasta;
};
QString TextoRestricciones(const QList<RangoImpreso>& rangos, const QString& filtros);
