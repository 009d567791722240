#pragma once

#include <QString>

// References of a document line to the document it came from: an optional
// part ending in ",", a kind ("OF", "II", "OT", "UC", "UE", "UI", "PP",
// "RE", "PC", "AL") with ":", and key parts separated by "/".

// True when the kind's prefix stands anywhere in the reference.
bool TienePrefijoReferencia(const QString& tipo, const QString& referencia);
// The key part `parte` names ("Doc", "Lin", "LPP", "OF", "SEC", a kind);
// empty when the reference is not of the kind the part needs.
QString DividirReferencia(const QString& parte, const QString& referencia);
