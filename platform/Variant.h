#pragma once

#include "platform/format/DateTime.h"

#include <QList>
#include <QString>

#include <variant>

// The kinds of value the system's variants hold.
enum class VarType {
  Empty,     // unassigned
  Null,
  Smallint,
  Integer,
  Int64,
  Single,
  Double,
  Currency,
  Date,
  Boolean,
  Byte,
  String,    // single-byte text: every text field gives this kind
  OleStr,    // wide text
  Array,
};

// A tagged value of one of those kinds.
class Variant {
 public:
  Variant() = default;  // Empty

  static Variant Null();
  static Variant Smallint(qint16 value);
  static Variant Integer(qint32 value);
  static Variant Int64(qint64 value);
  static Variant Single(float value);
  static Variant Double(double value);
  static Variant Currency(double value);  // kept to four decimals
  static Variant Date(TDateTime value);
  static Variant Boolean(bool value);
  static Variant Byte(quint8 value);
  static Variant String(const QString& value);
  static Variant OleStr(const QString& value);
  static Variant Array(const QList<Variant>& elements);

  VarType Type() const { return type_; }
  bool IsNull() const { return type_ == VarType::Null; }
  bool IsEmpty() const { return type_ == VarType::Empty; }
  bool IsNullOrEmpty() const { return IsNull() || IsEmpty(); }
  bool IsNumeric() const;  // an integer or floating kind

  // Conversions with the system's rules (texts read and written through the
  // format engine's Spanish settings); a value that does not convert raises
  // Exception ("Could not convert variant of type (X) into type (Y)").
  QString AsString() const;
  double AsDouble() const;
  qint64 AsInt64() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;

  const QList<Variant>& Elements() const;  // of an array; empty otherwise

  // The same kind holding the same value (arrays element by element).
  bool operator==(const Variant& other) const;

  static QString TypeName(VarType type);  // "Integer", "String", "Array Variant" ...

 private:
  using Storage = std::variant<std::monostate, qint64, double, bool, QString, QList<Variant>>;
  Variant(VarType type, Storage value) : type_(type), value_(std::move(value)) {}

  VarType type_ = VarType::Empty;
  Storage value_;
};
