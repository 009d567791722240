#include "platform/data/Field.h"

#include "platform/data/Dataset.h"
#include "platform/data/StoredValue.h"
#include "platform/data/TypeTable.h"
#include "platform/format/Format.h"
#include "platform/sqlite/DatabaseError.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

Dataset* closedDataset(Dataset* dataset) {
  if (dataset && dataset->Active()) throw EDatabaseError(EngineText::DatasetOpen);
  return dataset;
}

struct Range {
  qint64 low;
  qint64 high;
};

Range rangeOf(FieldType type) {
  switch (type) {
    case ftSmallint:
      return {std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()};
    case ftWord:
      return {0, std::numeric_limits<quint16>::max()};
    case ftInteger:
    case ftAutoInc:
      return {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    default:
      return {std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()};
  }
}

// The system's Round: halves to the even neighbour; nothing for a value
// (NaN, infinities) that no 64-bit integer holds.
std::optional<qint64> roundToInteger(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) return std::nullopt;
  return static_cast<qint64>(rounded);
}

double numberOf(const QVariant& stored) {
  switch (stored.typeId()) {
    case QMetaType::Double:  // as read, without the general conversion
      return *static_cast<const double*>(stored.constData());
    case QMetaType::LongLong:
      return static_cast<double>(*static_cast<const qint64*>(stored.constData()));
    case QMetaType::QString:
      return StrToFloat(stored.toString());
    default:
      return stored.toDouble();
  }
}

}  // namespace

Field::Field(Dataset* dataset, const QString& fieldName, FieldType type, int size)
    : QObject(closedDataset(dataset)),
      dataset_(dataset),
      fieldName_(fieldName),
      dataType_(type),
      declaredType_(type),
      size_(size),
      declaredSize_(size),
      persistent_(true) {
  if (dataset_) dataset_->addField(this);
}

Field::~Field() {
  if (dataset_) dataset_->removeField(this);
}

int Field::Index() const { return dataset_ ? static_cast<int>(dataset_->fields_.indexOf(this)) : -1; }

void Field::SetIndex(int index) {
  if (!dataset_) return;
  QList<Field*>& fields = dataset_->fields_;
  const qsizetype from = fields.indexOf(this);
  fields.move(from, std::clamp<qsizetype>(index, 0, fields.size() - 1));
}

int Field::TypeDisplayWidth(FieldType type, int size) {
  switch (type) {
    case ftFloat: return 13;
    case ftInteger: return 9;
    case ftSmallint:
    case ftBoolean: return 5;
    case ftDate:
    case ftDateTime:
    case ftMemo: return 10;
    case ftTime: return 8;
    case ftString: return size;
    default: return 10;
  }
}

int Field::Tag() const { return property("tag").toInt(); }

void Field::SetTag(int tag) { setProperty("tag", tag); }

void Field::bind(int column, FieldType type, int size, bool required, bool key) {
  column_ = column;
  dataType_ = declaredType_ == ftUnknown ? type : declaredType_;
  size_ = declaredSize_ == 0 ? size : declaredSize_;
  required_ = required_ || required;
  key_ = key;
}

Dataset* Field::LookupDataSet() const { return lookupDataSet_.data(); }

void Field::SetLookupDataSet(Dataset* dataSet) { lookupDataSet_ = dataSet; }

void Field::SetFieldKind(::FieldKind kind) {
  closedDataset(dataset_);
  kind_ = kind;
}

// Stores the lookup's result while the dataset works out its calculated
// fields; nothing when a key is empty or no record has it.
void Field::lookUp() {
  Dataset* lookup = lookupDataSet_.data();
  if (!lookup || !lookup->Active() || keyFields_.isEmpty()) return;
  QList<Variant> keys;
  for (const QString& name : keyFields_.split(u';', Qt::SkipEmptyParts)) {
    const Variant value = dataset_->FieldByName(name.trimmed()).AsVariant();
    if (value.IsNullOrEmpty()) return;
    keys.append(value);
  }
  SetAsVariant(lookup->Lookup(lookupKeyFields_, keys.size() == 1 ? keys.front() : Variant::Array(keys),
                              lookupResultField_));
}

const QVariant& Field::stored() const {
  static const QVariant null;
  return dataset_ ? dataset_->recordValue(*this) : null;
}

void Field::store(QVariant value) {
  if (!dataset_) throw EDatabaseError(EngineText::NotEditing);
  dataset_->setRecordValue(*this, std::move(value));
}

void Field::accessError(const char* typeName) const {
  throw EDatabaseError(QString::fromLatin1(EngineText::FieldAccess).arg(DisplayName(), QLatin1String(typeName)));
}

bool Field::IsNull() const { return stored().isNull(); }

void Field::Clear() { store(QVariant()); }

// ---- storing by value class

void Field::storeText(const QString& text) {
  if (text.isEmpty()) return Clear();
  store(dataType_ == ftString && size_ > 0 ? text.left(size_) : text);
}

void Field::rangeError(const QString& value, FieldType type) const {
  const Range range = rangeOf(type);
  throw EDatabaseError(QString::fromLatin1(EngineText::FieldRange)
                           .arg(value, DisplayName(), IntToStr(range.low), IntToStr(range.high)));
}

void Field::storeInteger(qint64 value) {
  const Range range = rangeOf(dataType_);
  if (value < range.low || value > range.high) rangeError(IntToStr(value), dataType_);
  store(QVariant(value));
}

void Field::storeRounded(double value) {
  const std::optional<qint64> whole = roundToInteger(value);
  if (!whole) rangeError(FloatToStr(value), dataType_);
  storeInteger(*whole);
}

void Field::storeFloat(double value) { store(QVariant(value)); }

void Field::storeDateTime(TDateTime value) { store(StoredValue::FromDateTime(value)); }

// ---- reading

QString Field::AsString() const {
  const QVariant& value = stored();
  if (value.isNull()) return QString();
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Text:
      if (value.typeId() == QMetaType::Double) return FloatToStr(value.toDouble());
      if (value.typeId() == QMetaType::QByteArray) return QString::fromUtf8(value.toByteArray());
      return value.toString();
    case ValueClass::Integer: {
      if (value.typeId() == QMetaType::LongLong) return IntToStr(value.toLongLong());  // exact past 2^53
      const std::optional<qint64> whole = roundToInteger(numberOf(value));
      return whole ? IntToStr(*whole) : FloatToStr(numberOf(value));
    }
    case ValueClass::Float:
      return FloatToStr(numberOf(value));
    case ValueClass::DateTime: {
      const TDateTime date = StoredValue::ToDateTime(value);
      if (dataType_ == ftDate) return DateToStr(date);
      if (dataType_ == ftTime) return TimeToStr(date);
      return DateTimeToStr(date);
    }
    case ValueClass::Boolean:
      return value.toLongLong() != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case ValueClass::Binary:
      return QString::fromLatin1(value.toByteArray());
  }
  return QString();
}

int Field::AsInteger() const {
  const ValueClass kind = TypeTable::ValueClassOf(dataType_);
  if (kind != ValueClass::Text && kind != ValueClass::Integer && kind != ValueClass::Float) accessError("Integer");
  const QVariant& value = stored();
  if (value.isNull()) return 0;
  if (kind == ValueClass::Text) return StrToInt(AsString());
  const double number = numberOf(value);
  const std::optional<qint64> whole = roundToInteger(number);
  if (!whole || *whole < std::numeric_limits<qint32>::min() || *whole > std::numeric_limits<qint32>::max())
    rangeError(FloatToStr(number), ftInteger);
  return static_cast<int>(*whole);
}

double Field::AsFloat() const {
  const ValueClass kind = TypeTable::ValueClassOf(dataType_);
  if (kind == ValueClass::Boolean || kind == ValueClass::Binary) accessError("Float");
  const QVariant& value = stored();
  if (value.isNull()) return 0;
  if (kind == ValueClass::Text) return StrToFloat(AsString());
  if (kind == ValueClass::DateTime) return StoredValue::ToDateTime(value);
  return numberOf(value);
}

TDateTime Field::AsDateTime() const {
  const ValueClass kind = TypeTable::ValueClassOf(dataType_);
  if (kind != ValueClass::Text && kind != ValueClass::DateTime) accessError("DateTime");
  const QVariant& value = stored();
  if (value.isNull()) return 0;
  if (kind == ValueClass::Text) return StrToDateTime(AsString());
  return StoredValue::ToDateTime(value);
}

bool Field::AsBoolean() const {
  const ValueClass kind = TypeTable::ValueClassOf(dataType_);
  if (kind != ValueClass::Text && kind != ValueClass::Boolean) accessError("Boolean");
  const QVariant& value = stored();
  if (value.isNull()) return false;
  if (kind == ValueClass::Boolean) return value.toLongLong() != 0;
  const QString text = AsString();
  return !text.isEmpty() && QStringLiteral("YyTt").contains(text.front());
}

Variant Field::AsVariant() const {
  const QVariant& value = stored();
  if (value.isNull()) return Variant::Null();
  switch (TypeTable::VariantKindOf(dataType_)) {
    case VarType::Integer: {
      const std::optional<qint64> number = roundToInteger(numberOf(value));
      if (!number) return Variant::Double(numberOf(value));
      if (*number < std::numeric_limits<qint32>::min() || *number > std::numeric_limits<qint32>::max())
        return Variant::Int64(*number);
      return Variant::Integer(static_cast<qint32>(*number));
    }
    case VarType::Double:
      return Variant::Double(numberOf(value));
    case VarType::Currency:
      return Variant::Currency(numberOf(value));
    case VarType::Date:
      return Variant::Date(StoredValue::ToDateTime(value));
    case VarType::Boolean:
      return Variant::Boolean(value.toLongLong() != 0);
    default:
      return Variant::String(AsString());
  }
}

QByteArray Field::AsBytes() const {
  const QVariant& value = stored();
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray();
  return AsString().toUtf8();
}

QString Field::handledText(bool displayText) const {
  QString text;
  OnGetText(const_cast<Field&>(*this), text, displayText);
  return text;
}

void Field::SetText(const QString& text) {
  if (OnSetText)
    OnSetText(*this, text);
  else
    SetAsString(text);
}

QString Field::Text() const {
  if (OnGetText) return handledText(false);
  if (IsNull()) return QString();
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Integer:
    case ValueClass::Float:
      return displayFormat_.isEmpty() ? AsString() : FormatFloat(displayFormat_, AsFloat());
    default:
      return AsString();
  }
}

QString Field::DisplayText() const {
  if (OnGetText) return handledText(true);
  if (!IsNull() && !displayFormat_.isEmpty() && TypeTable::ValueClassOf(dataType_) == ValueClass::DateTime)
    return FormatDateTime(displayFormat_, AsDateTime());
  return Text();
}

// ---- writing

void Field::SetAsString(const QString& text) {
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Text:
      return storeText(text);
    case ValueClass::Binary:
      return text.isEmpty() ? Clear() : store(text.toLatin1());
    default:
      break;
  }
  if (text.isEmpty()) return Clear();
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Integer: {
      qint64 value = 0;
      if (!TryStrToInt64(text, value)) StrToInt(text);  // raises the engine's text
      return storeInteger(value);
    }
    case ValueClass::Float:
      return storeFloat(StrToFloat(text));
    case ValueClass::DateTime:
      if (dataType_ == ftDate) return storeDateTime(StrToDate(text));
      if (dataType_ == ftTime) return storeDateTime(StrToTime(text));
      return storeDateTime(StrToDateTime(text));
    case ValueClass::Boolean:
      if (QStringLiteral("True").startsWith(text, Qt::CaseInsensitive)) return store(QVariant(qint64{1}));
      if (QStringLiteral("False").startsWith(text, Qt::CaseInsensitive)) return store(QVariant(qint64{0}));
      throw EDatabaseError(QString::fromLatin1(EngineText::InvalidBoolean).arg(text, DisplayName()));
    default:
      return;
  }
}

void Field::SetAsInteger(int value) {
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Text:
      return storeText(IntToStr(value));
    case ValueClass::Integer:
      return storeInteger(value);
    case ValueClass::Float:
      return storeFloat(value);
    default:
      accessError("Integer");
  }
}

void Field::SetAsFloat(double value) {
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Text:
      return storeText(FloatToStr(value));
    case ValueClass::Integer:
      return storeRounded(value);
    case ValueClass::Float:
      return storeFloat(value);
    case ValueClass::DateTime:
      return storeDateTime(value);
    default:
      accessError("Float");
  }
}

void Field::SetAsDateTime(TDateTime value) {
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Text:
      return storeText(DateTimeToStr(value));
    case ValueClass::Float:
      return storeFloat(value);
    case ValueClass::DateTime:
      return storeDateTime(value);
    default:
      accessError("DateTime");
  }
}

void Field::SetAsBoolean(bool value) {
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Text:
      return storeText(value ? QStringLiteral("T") : QStringLiteral("F"));
    case ValueClass::Boolean:
      return store(QVariant(qint64{value ? 1 : 0}));
    default:
      accessError("Boolean");
  }
}

void Field::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  switch (TypeTable::ValueClassOf(dataType_)) {
    case ValueClass::Text:
      return storeText(value.AsString());
    case ValueClass::Binary:
      return SetAsString(value.AsString());
    case ValueClass::Integer:
      if (value.Type() == VarType::Single || value.Type() == VarType::Double || value.Type() == VarType::Currency ||
          value.Type() == VarType::Date)
        return storeRounded(value.AsDouble());
      return storeInteger(value.AsInt64());
    case ValueClass::Float:
      return storeFloat(value.AsDouble());
    case ValueClass::DateTime:
      return storeDateTime(value.AsDateTime());
    case ValueClass::Boolean:
      return SetAsBoolean(value.AsBoolean());
  }
}

void Field::AssignValue(const Field& source) {
  const QVariant& value = source.stored();
  if (value.isNull()) return Clear();
  const ValueClass kind = TypeTable::ValueClassOf(dataType_);
  if (kind == TypeTable::ValueClassOf(source.dataType_)) {
    switch (kind) {
      case ValueClass::Text:
        if (value.typeId() == QMetaType::QString) return storeText(value.toString());
        break;
      case ValueClass::Integer:
        if (value.typeId() == QMetaType::LongLong) return storeInteger(value.toLongLong());
        break;
      case ValueClass::Float:
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Double)
          return storeFloat(numberOf(value));
        break;
      case ValueClass::DateTime:
        // A date or a time alone is cut to its part by its text.
        if (dataType_ == ftDateTime && source.dataType_ == ftDateTime) {
          if (value.typeId() == QMetaType::QString &&
              StoredValue::IsWrittenDateTime(*static_cast<const QString*>(value.constData())))
            return store(value);
          return storeDateTime(StoredValue::ToDateTime(value));
        }
        break;
      case ValueClass::Boolean:
        return store(QVariant(qint64{value.toLongLong() != 0 ? 1 : 0}));
      case ValueClass::Binary:
        break;
    }
  }
  SetAsString(source.AsString());
}

void Field::SetAsBytes(const QByteArray& bytes) {
  if (TypeTable::ValueClassOf(dataType_) == ValueClass::Binary)
    return bytes.isEmpty() ? Clear() : store(bytes);
  SetAsString(QString::fromUtf8(bytes));
}
