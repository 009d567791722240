#include "platform/data/FieldComparison.h"

#include "platform/data/Field.h"
#include "platform/data/TypeTable.h"
#include "platform/format/Format.h"
#include "platform/sql/Collation.h"

#include <cmath>

namespace FieldComparison {

namespace {

// Stored times keep milliseconds; day counts rebuilt from them differ in the
// last bits.
constexpr double kHalfMillisecond = 0.5 / 86400000.0;

int sign(double difference) { return difference < 0 ? -1 : (difference > 0 ? 1 : 0); }

int compareText(const QString& a, const QString& b, TextCase textCase) {
  const int order = Collation::Default().Compare(a, b);
  if (order != 0 || textCase == TextCase::Insensitive) return order;
  return a.compare(b);
}

}  // namespace

Kind KindOf(const Field& field) {
  switch (TypeTable::ValueClassOf(field.DataType())) {
    case ValueClass::Text:
      return Kind::Text;
    case ValueClass::Integer:
    case ValueClass::Float:
      return Kind::Number;
    case ValueClass::DateTime:
      return Kind::DateTime;
    case ValueClass::Boolean:
      return Kind::Boolean;
    case ValueClass::Binary:
      return Kind::Bytes;
  }
  return Kind::Text;
}

Operand ValueOf(const Field& field) {
  Operand value;
  value.kind = KindOf(field);
  if (value.kind == Kind::Text) {
    value.text = field.AsString();
    return value;
  }
  value.null = field.IsNull();
  if (value.null) return value;
  switch (value.kind) {
    case Kind::Number:
      value.number = field.AsFloat();
      break;
    case Kind::DateTime:
      value.number = field.AsDateTime();
      break;
    case Kind::Boolean:
      value.number = field.AsBoolean() ? 1 : 0;
      break;
    default:
      value.bytes = field.AsBytes();
      break;
  }
  return value;
}

std::optional<Operand> FromText(const Field& field, const QString& text) {
  Operand value;
  value.kind = KindOf(field);
  switch (value.kind) {
    case Kind::Text:
      value.text = text;
      return value;
    case Kind::Number:
      if (!TryStrToFloat(text, value.number)) return std::nullopt;
      return value;
    case Kind::DateTime: {
      bool read = false;
      if (field.DataType() == ftDate)
        read = TryStrToDate(text, value.number);
      else if (field.DataType() == ftTime)
        read = TryStrToTime(text, value.number);
      else
        read = TryStrToDateTime(text, value.number);
      if (!read) return std::nullopt;
      return value;
    }
    case Kind::Boolean:
      if (!text.isEmpty() && QStringLiteral("True").startsWith(text, Qt::CaseInsensitive))
        value.number = 1;
      else if (!text.isEmpty() && QStringLiteral("False").startsWith(text, Qt::CaseInsensitive))
        value.number = 0;
      else
        return std::nullopt;
      return value;
    case Kind::Bytes:
      value.bytes = text.toUtf8();
      return value;
  }
  return std::nullopt;
}

Operand FromVariant(const Field& field, const Variant& given) {
  Operand value;
  value.kind = KindOf(field);
  if (value.kind == Kind::Text) {
    if (!given.IsNullOrEmpty()) value.text = given.AsString();
    return value;
  }
  value.null = given.IsNullOrEmpty();
  if (value.null) return value;
  switch (value.kind) {
    case Kind::Number:
      value.number = given.AsDouble();
      break;
    case Kind::DateTime:
      value.number = given.AsDateTime();
      break;
    case Kind::Boolean:
      value.number = given.AsBoolean() ? 1 : 0;
      break;
    default:
      value.bytes = given.AsString().toUtf8();
      break;
  }
  return value;
}

std::optional<int> Compare(const Operand& a, const Operand& b, TextCase textCase) {
  if (a.null || b.null) return std::nullopt;
  switch (a.kind) {
    case Kind::Text:
      return compareText(a.text, b.text, textCase);
    case Kind::DateTime:
      if (std::fabs(a.number - b.number) < kHalfMillisecond) return 0;
      return sign(a.number - b.number);
    case Kind::Number:
    case Kind::Boolean:
      return sign(a.number - b.number);
    case Kind::Bytes:
      return a.bytes < b.bytes ? -1 : (b.bytes < a.bytes ? 1 : 0);
  }
  return std::nullopt;
}

bool Equal(const Operand& a, const Operand& b, TextCase textCase) {
  if (a.null || b.null) return a.null && b.null;
  return Compare(a, b, textCase) == 0;
}

bool StartsWith(const Operand& a, const QString& prefix, TextCase textCase) {
  if (a.null) return false;
  if (prefix.isEmpty()) return true;
  if (textCase == TextCase::Sensitive) return a.text.startsWith(prefix);
  // Folding keeps every character in its place: the text's head is enough.
  if (a.text.size() < prefix.size()) return false;
  const Collation& collation = Collation::Default();
  return collation.Fold(QStringView(a.text).first(prefix.size())) == collation.Fold(prefix);
}

}  // namespace FieldComparison
