#pragma once

#include "platform/data/FieldType.h"

#include <QString>

// The names of the field types as the structure definitions write them.
QString TextoDeTipoCampo(FieldType tipo);        // "ftUnknown" outside ftString..ftTypedBinary
FieldType TipoCampoDeTexto(const QString& texto);  // exact case, "ftSmallInt" too; ftUnknown otherwise
