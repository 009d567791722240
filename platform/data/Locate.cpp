#include "platform/data/Dataset.h"

#include "platform/Exceptions.h"
#include "platform/data/DatasetTemporaryState.h"
#include "platform/data/Field.h"
#include "platform/data/FieldComparison.h"

using FieldComparison::Operand;
using FieldComparison::TextCase;

bool Dataset::Locate(const QString& keyFields, const Variant& keyValues, LocateOptions options) {
  CheckBrowseMode();
  QList<Field*> fields;
  for (const QString& name : keyFields.split(u';', Qt::SkipEmptyParts)) fields.append(&FieldByName(name.trimmed()));
  const QList<Variant> values = keyValues.Type() == VarType::Array ? keyValues.Elements() : QList<Variant>{keyValues};
  if (values.size() < fields.size()) throw Exception(QStringLiteral("Variant or safe array index out of bounds"));

  QList<Operand> keys;
  for (int i = 0; i < fields.size(); ++i) keys.append(FieldComparison::FromVariant(*fields[i], values[i]));
  const TextCase textCase = options & loCaseInsensitive ? TextCase::Insensitive : TextCase::Sensitive;
  const auto matches = [&] {
    for (int i = 0; i < fields.size(); ++i) {
      const Operand value = FieldComparison::ValueOf(*fields[i]);
      const bool match = options & loPartialKey && value.kind == FieldComparison::Kind::Text
                             ? FieldComparison::StartsWith(value, keys[i].text, textCase)
                             : FieldComparison::Equal(value, keys[i], textCase);
      if (!match) return false;
    }
    return true;
  };

  int found = -1;
  {
    TemporaryState state(*this, dsFilter);
    for (std::size_t i = 0; i < rows_.size() && found < 0; ++i) {
      state.Show(rows_[i]);
      if (matches()) found = static_cast<int>(i);
    }
  }
  if (found < 0) return false;
  GotoRow(found);
  return true;
}
