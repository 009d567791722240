#pragma once

#include <QString>

class Dataset;

// The column formulas of the list maintenance form: numbers (either "." or
// "," as decimal mark), the operators "+", "-", "*" (or "x"), "/" (or ":")
// and "#" (rounds the running product to a multiple of the next number) and
// parentheses. "*", "/" and "#" bind tighter than "+" and "-"; a "-" right
// after one of them is the sign of the next number. Any text that cannot be
// read, a division or rounding by zero, or a result beyond the range of a
// double raises Exception.

// With Name=Value lines, each name standing alone in the expression is
// replaced by its value first.
double EvaluarFormula(const QString& expresion, const QString& sustituciones = QString());
// An expression without parentheses.
double EvaluarExpresionSimple(const QString& expresion);

// A value as the formulas write it: without exponent or thousands separators.
QString TextoNumeroFormula(double valor);

// A formula line "Disparador:Destino->Expresion" (or "Destino>Expresion").
struct FormulaCampo {
  QString disparador;
  QString destino;
  QString expresion;
};
FormulaCampo LeerFormulaCampo(const QString& linea);

// The expression with every name that is not a number replaced by the
// current record's value of the field so named, 0 when there is no such field.
QString SustituirCampos(const QString& expresion, const Dataset& registro);
