#pragma once

#include <QString>

// Whether every character is one of 0-9 (and there is at least one).
bool SoloDigitos(const QString& texto);

// The modulo-10 check digit of a digit text: weights alternate between
// pesoPrimero and the other of 1 and 3 from the left (1 and 1 when
// pesoPrimero is 1 and alterna is false); 10 - sum mod 10, 10 becoming 0.
QChar DigitoControl(const QString& digitos, int pesoPrimero, bool alterna = true);
