#pragma once

#include "platform/Variant.h"

#include <QString>

// The display text of a value: an array shows its first element, texts and
// integers as they are, a byte, null and empty nothing, other kinds their
// standard text; nothing when it has no text.
QString VarianteATexto(const Variant& valor);
QString BooleanoATexto(bool valor);  // "SI" or "NO"

// The texts of a "|"-separated record key as an array (a memo key's CR LF
// become separators too); null for an empty key.
Variant ClaveAVariante(const QString& clave);

QString GUIDTexto();  // a new GUID, 36 upper-case characters without braces
