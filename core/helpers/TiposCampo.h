#pragma once

#include "platform/FieldType.h"

#include <QString>

// The names of the field types as the structure definitions write them.
QString TextoDeTipoCampo(TFieldType tipo);        // "ftUnknown" outside ftString..ftTypedBinary
TFieldType TipoCampoDeTexto(const QString& texto);  // exact case, "ftSmallInt" too; ftUnknown otherwise
