#pragma once

#include <QString>

// A typed number: with the option word "PuntoDecimal" the "," are dropped
// and "." is the decimal point; otherwise the thousands separators are
// dropped. 0 when it is not a number.
double TextoAFlotante(const QString& texto, const QString& opciones = QString());

bool EsCero(double valor);  // within 0.00001 of zero, both ends included
// The nearest whole number, halves away from zero: the whole part of
// |x| + 0.5000001, so 2.4999995 gives 2 and 2.5 gives 3.
double Redondear(double valor);
double RedondearDecimales(int decimales, double valor);
