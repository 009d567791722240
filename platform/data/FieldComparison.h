#pragma once

#include "platform/Variant.h"

#include <QByteArray>
#include <QString>

#include <optional>

class Field;

// How filters and Locate compare a field's value with a given one: both
// taken in the form of the field's type. An empty text field reads as empty
// text (the engine keeps empty text as NULL); any other NULL value compares
// with nothing.
namespace FieldComparison {

enum class Kind { Text, Number, DateTime, Boolean, Bytes };
// Case-sensitive text still sorts by the collation ("Álvarez" before "Bravo");
// case and accents only tell apart texts the collation takes as equal.
enum class TextCase { Sensitive, Insensitive };

struct Operand {
  Kind kind = Kind::Text;
  bool null = false;
  QString text;
  double number = 0;  // numbers, dates as day counts, booleans as 0 or 1
  QByteArray bytes;
};

Kind KindOf(const Field& field);
// The field's value in the record it shows.
Operand ValueOf(const Field& field);
// The text read as the field's type reads it (numbers and dates in the
// format engine's Spanish form); nullopt when it does not convert.
std::optional<Operand> FromText(const Field& field, const QString& text);
// A program's value for the field; raises the variant's conversion error.
Operand FromVariant(const Field& field, const Variant& value);

// Negative, zero or positive; nullopt when either side is NULL. Both sides
// are of one kind.
std::optional<int> Compare(const Operand& a, const Operand& b, TextCase textCase);
// Equal, where NULL also equals NULL.
bool Equal(const Operand& a, const Operand& b, TextCase textCase);
// Whether the text of a begins with prefix.
bool StartsWith(const Operand& a, const QString& prefix, TextCase textCase);

}  // namespace FieldComparison
