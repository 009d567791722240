#pragma once

// The data layer's field types, in the order and with the names that the
// table-structure definitions use.
enum FieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
};

// How a field's value is held in a record buffer and in an SQLite column.
enum class ValueClass { Text, Integer, Float, DateTime, Boolean, Binary };
