#include "core/helpers/TiposCampo.h"

namespace {

constexpr const char* FieldTypeNames[] = {
    "ftUnknown", "ftString",   "ftSmallint", "ftInteger", "ftWord",  "ftBoolean",  "ftFloat",      "ftCurrency",
    "ftBCD",     "ftDate",     "ftTime",     "ftDateTime", "ftBytes", "ftVarBytes", "ftAutoInc",    "ftBlob",
    "ftMemo",    "ftGraphic",  "ftFmtMemo",  "ftParadoxOle", "ftDBaseOle", "ftTypedBinary",
};
constexpr int FieldTypeCount = sizeof FieldTypeNames / sizeof FieldTypeNames[0];

}  // namespace

QString TextoDeTipoCampo(FieldType tipo) {
  const int index = static_cast<int>(tipo);
  return QLatin1String(FieldTypeNames[index > 0 && index < FieldTypeCount ? index : 0]);
}

FieldType TipoCampoDeTexto(const QString& texto) {
  if (texto == QLatin1String("ftSmallInt")) return ftSmallint;
  for (int i = 1; i < FieldTypeCount; ++i)
    if (texto == QLatin1String(FieldTypeNames[i])) return static_cast<FieldType>(i);
  return ftUnknown;
}
