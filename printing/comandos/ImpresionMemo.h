#pragma once

#include <QStringList>

class Dataset;
class DestinoComandos;
class Field;
struct LineaInstruccion;
struct ReferenciaCampo;

// A memo wrapped into lines as wide as the box: each paragraph keeps the
// style marks it starts with, or the last ones given.
QStringList LineasMemo(DestinoComandos& destino, const QString& texto, double ancho);

// Prints a memo field: outside the lines as many lines as the command asks,
// one line step apart; inside them its first line, the others written as
// continuation rows of the lines (not for a related table's memo).
void ImprimirMemo(DestinoComandos& destino, const LineaInstruccion& linea, const ReferenciaCampo& referencia,
                  Dataset& datos, const Field& campo, bool tablaReferida);
