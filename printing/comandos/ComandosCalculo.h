#pragma once

#include <QString>

class DestinoComandos;
struct LineaInstruccion;

// Left to right, without precedence; a "/" by 0 gives 0.
double EvaluarExpresion(DestinoComandos& destino, const QString& expresion, QString& ultimoOperando);
QString Concatenar(DestinoComandos& destino, const QString& texto);

void ComandoExpr(DestinoComandos& destino, const LineaInstruccion& linea);
void ComandoConc(DestinoComandos& destino, const LineaInstruccion& linea);
void ComandoSuma(DestinoComandos& destino, const LineaInstruccion& linea);
void ComandoISum(DestinoComandos& destino, const LineaInstruccion& linea);
