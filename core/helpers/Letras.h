#pragma once

#include <QString>

// Letter tests with the Spanish, French and German accented letters, and the
// captions and identifiers made from names. A test takes its argument as a
// whole text: for one character it is exactly membership of the class.
bool EsMinuscula(const QString& caracter);
bool EsMayuscula(const QString& caracter);
bool EsDigito(const QString& caracter);

// "CodigoCliente" gives "Codigo Cliente", "Campo12" gives "Campo 12".
QString SepararPalabras(const QString& identificador);
// "Cartera de Pedidos" with one letter per word gives "C.Pedidos".
QString AbreviarNombre(const QString& nombre, int letrasPorPalabra);
// At most 25 characters of letters a-z and A-Z, digits and "_", never
// beginning with a digit; true when the text already was one.
bool IdentificadorValido(const QString& texto, QString& identificador);
