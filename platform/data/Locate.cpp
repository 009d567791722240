#include "platform/data/Dataset.h"

#include "platform/Exceptions.h"
#include "platform/data/DatasetTemporaryState.h"
#include "platform/data/Field.h"
#include "platform/data/FieldComparison.h"

#include <algorithm>
#include <limits>

using FieldComparison::Operand;
using FieldComparison::TextCase;

int Dataset::FindRow(const QList<Field*>& fields, const QList<Variant>& values, LocateOptions options) {
  restartFromFirst(true);
  return FindRowBetween(fields, values, options, 0, std::numeric_limits<std::size_t>::max());
}

int Dataset::FindRowBetween(const QList<Field*>& fields, const QList<Variant>& values, LocateOptions options,
                            std::size_t first, std::size_t last) {
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
  const bool calculate =
      std::any_of(fields.begin(), fields.end(), [](const Field* field) { return field->outsideRecord(); });
  TemporaryState state(*this, dsFilter);
  for (std::size_t i = first; i < last; ++i) {
    if (i >= rows_.size()) ReadRowsUpTo(i + 1);
    if (i >= rows_.size()) break;
    state.Show(rows_[i], calculate);
    if (matches()) return static_cast<int>(i);
  }
  return -1;
}

namespace {

QList<Variant> valuesFor(const QList<Field*>& fields, const Variant& keyValues) {
  const QList<Variant> values = keyValues.Type() == VarType::Array ? keyValues.Elements() : QList<Variant>{keyValues};
  if (values.size() < fields.size()) throw Exception(QStringLiteral("Variant or safe array index out of bounds"));
  return values;
}

}  // namespace

bool Dataset::Locate(const QString& keyFields, const Variant& keyValues, LocateOptions options) {
  CheckBrowseMode();
  const QList<Field*> fields = fieldsNamed(keyFields);
  const std::optional<Row> current = CurrentRecord();
  const int found = FindRow(fields, valuesFor(fields, keyValues), options);
  if (found < 0) {
    ReturnTo(current);
    return false;
  }
  GotoRow(found);
  return true;
}

Variant Dataset::Lookup(const QString& keyFields, const Variant& keyValues, const QString& resultFields) {
  CheckActive();
  const QList<Field*> fields = fieldsNamed(keyFields);
  const QList<Field*> results = fieldsNamed(resultFields);
  const std::optional<Row> current = CurrentRecord();
  const int found = FindRow(fields, valuesFor(fields, keyValues), 0);
  if (found < 0) {
    ReturnTo(current);
    return Variant::Null();
  }
  QList<Variant> values;
  {
    TemporaryState state(*this, dsFilter);
    state.Show(rows_[static_cast<std::size_t>(found)],
               std::any_of(results.begin(), results.end(), [](const Field* field) { return field->outsideRecord(); }));
    for (const Field* field : results) values.append(field->AsVariant());
  }
  ReturnTo(current);
  return values.size() == 1 ? values.front() : Variant::Array(values);
}
