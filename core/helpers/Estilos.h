#pragma once

#include <QString>

// Font styles and colours by name, as printed-form programs and settings
// write them. Colours hold red in the low byte, then green, then blue.
int EstiloFuente(const QString& estilo);     // 0 bold, 1 italic, 2 underline, 3 strike-out; 255 none
int ColorPorNombre(const QString& nombre);   // a Spanish colour name, exact case; 0 otherwise
int ColorDeTexto(const QString& texto);      // a colour name, else a number ("$" for hexadecimal); 0 otherwise
