#pragma once

#include "platform/StringList.h"

#include <QString>

// Name=value lines: names compared without regard to case, the first line
// of a name counting; a missing name gives the empty text.
QString ValorStrings(const QString& nombre, const StringList& lista);
QString ValorLista(const QString& nombre, const QString& texto);  // lines ended by CR LF, CR or LF
// Replaces the name's value or adds the line; an empty value removes it.
void AsignarValorLista(const QString& nombre, const QString& valor, StringList& lista);
