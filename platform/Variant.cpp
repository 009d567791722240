#include "platform/Variant.h"

#include "platform/Exceptions.h"
#include "platform/format/Format.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void CannotConvert(VarType from, VarType to) {
  throw Exception(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                      .arg(Variant::TypeName(from), Variant::TypeName(to)));
}

bool IsIntegerKind(VarType type) {
  return type == VarType::Smallint || type == VarType::Integer || type == VarType::Int64 || type == VarType::Byte;
}

bool IsFloatKind(VarType type) {
  return type == VarType::Single || type == VarType::Double || type == VarType::Currency;
}

// Whole numbers from floating values round to even, as the variant
// conversions always did.
bool RoundToInt64(double value, qint64& result) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) return false;
  result = static_cast<qint64>(rounded);
  return true;
}

}  // namespace

Variant Variant::Null() { return Variant(VarType::Null, std::monostate()); }
Variant Variant::Smallint(qint16 value) { return Variant(VarType::Smallint, qint64(value)); }
Variant Variant::Integer(qint32 value) { return Variant(VarType::Integer, qint64(value)); }
Variant Variant::Int64(qint64 value) { return Variant(VarType::Int64, value); }
Variant Variant::Single(float value) { return Variant(VarType::Single, double(value)); }
Variant Variant::Double(double value) { return Variant(VarType::Double, value); }
Variant Variant::Currency(double value) { return Variant(VarType::Currency, std::nearbyint(value * 10000) / 10000); }
Variant Variant::Date(TDateTime value) { return Variant(VarType::Date, value); }
Variant Variant::Boolean(bool value) { return Variant(VarType::Boolean, value); }
Variant Variant::Byte(quint8 value) { return Variant(VarType::Byte, qint64(value)); }
Variant Variant::String(const QString& value) { return Variant(VarType::String, value); }
Variant Variant::OleStr(const QString& value) { return Variant(VarType::OleStr, value); }
Variant Variant::Array(const QList<Variant>& elements) { return Variant(VarType::Array, elements); }

bool Variant::IsNumeric() const { return IsIntegerKind(type_) || IsFloatKind(type_); }

QString Variant::TypeName(VarType type) {
  switch (type) {
    case VarType::Empty: return QStringLiteral("Empty");
    case VarType::Null: return QStringLiteral("Null");
    case VarType::Smallint: return QStringLiteral("Smallint");
    case VarType::Integer: return QStringLiteral("Integer");
    case VarType::Int64: return QStringLiteral("Int64");
    case VarType::Single: return QStringLiteral("Single");
    case VarType::Double: return QStringLiteral("Double");
    case VarType::Currency: return QStringLiteral("Currency");
    case VarType::Date: return QStringLiteral("Date");
    case VarType::Boolean: return QStringLiteral("Boolean");
    case VarType::Byte: return QStringLiteral("Byte");
    case VarType::String: return QStringLiteral("String");
    case VarType::OleStr: return QStringLiteral("OleStr");
    case VarType::Array: return QStringLiteral("Array Variant");
  }
  return QString();
}

QString Variant::AsString() const {
  if (type_ == VarType::Empty) return QString();
  if (IsIntegerKind(type_)) return QString::number(std::get<qint64>(value_));
  if (IsFloatKind(type_)) return FloatToStr(std::get<double>(value_));
  switch (type_) {
    case VarType::Date: return DateTimeToStr(std::get<double>(value_));
    case VarType::Boolean: return std::get<bool>(value_) ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::String:
    case VarType::OleStr: return std::get<QString>(value_);
    default: CannotConvert(type_, VarType::String);
  }
}

double Variant::AsDouble() const {
  if (type_ == VarType::Empty) return 0;
  if (IsIntegerKind(type_)) return static_cast<double>(std::get<qint64>(value_));
  if (IsFloatKind(type_) || type_ == VarType::Date) return std::get<double>(value_);
  if (type_ == VarType::Boolean) return std::get<bool>(value_) ? -1 : 0;
  double number = 0;
  if ((type_ == VarType::String || type_ == VarType::OleStr) && TryStrToFloat(std::get<QString>(value_), number))
    return number;
  CannotConvert(type_, VarType::Double);
}

qint64 Variant::AsInt64() const {
  if (type_ == VarType::Empty) return 0;
  if (IsIntegerKind(type_)) return std::get<qint64>(value_);
  if (type_ == VarType::Boolean) return std::get<bool>(value_) ? -1 : 0;
  qint64 whole = 0;
  if ((IsFloatKind(type_) || type_ == VarType::Date) && RoundToInt64(std::get<double>(value_), whole)) return whole;
  if (type_ == VarType::String || type_ == VarType::OleStr) {
    const QString& text = std::get<QString>(value_);
    double number = 0;
    if (TryStrToInt64(text, whole)) return whole;
    if (TryStrToFloat(text, number) && RoundToInt64(number, whole)) return whole;
  }
  CannotConvert(type_, VarType::Int64);
}

bool Variant::AsBoolean() const {
  if (type_ == VarType::Empty) return false;
  if (type_ == VarType::Boolean) return std::get<bool>(value_);
  if (IsIntegerKind(type_)) return std::get<qint64>(value_) != 0;
  if (IsFloatKind(type_) || type_ == VarType::Date) return std::get<double>(value_) != 0;
  if (type_ == VarType::String || type_ == VarType::OleStr) {
    const QString& text = std::get<QString>(value_);
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    double number = 0;
    if (TryStrToFloat(text, number)) return number != 0;
  }
  CannotConvert(type_, VarType::Boolean);
}

TDateTime Variant::AsDateTime() const {
  if (type_ == VarType::Empty) return 0;
  if (type_ == VarType::String || type_ == VarType::OleStr) {
    TDateTime value = 0;
    if (TryStrToDateTime(std::get<QString>(value_), value)) return value;
    CannotConvert(type_, VarType::Date);
  }
  if (type_ == VarType::Null || type_ == VarType::Array) CannotConvert(type_, VarType::Date);
  return AsDouble();
}

const QList<Variant>& Variant::Elements() const {
  static const QList<Variant> none;
  const auto* elements = std::get_if<QList<Variant>>(&value_);
  return elements ? *elements : none;
}

bool Variant::operator==(const Variant& other) const { return type_ == other.type_ && value_ == other.value_; }
