#pragma once

#include "platform/Variant.h"
#include "platform/data/FieldType.h"
#include "platform/format/DateTime.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

class Dataset;
class Field;

// Where a field's value comes from: a column of the record, the dataset's
// OnCalcFields, or a record of another dataset found by this one's key.
enum FieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

// The text of a field as shown (displayText) or edited, instead of its own.
using FieldGetTextEvent = std::function<void(Field& sender, QString& text, bool displayText)>;
// Stores an edited text instead of the field's own reading of it.
using FieldSetTextEvent = std::function<void(Field& sender, const QString& text)>;

// A field of a dataset: the value of one column in the current record, with
// the metadata forms and reports read. A field made by the program before
// the dataset opens (a persistent field) keeps its settings across openings;
// the others are made at each opening and freed at closing. Values are read
// and written as text through the format engine's Spanish settings; empty
// text, like an empty value, is stored as NULL.
class Field : public QObject {
  Q_OBJECT

 public:
  // A persistent field of a closed dataset; ftUnknown takes the column's type.
  Field(Dataset* dataset, const QString& fieldName, FieldType type = ftUnknown, int size = 0);
  ~Field() override;

  Dataset* DataSet() const { return dataset_; }
  int Index() const;  // position among the dataset's fields
  // Moves the field to the position among the dataset's fields; the others
  // keep their order.
  void SetIndex(int index);

  const QString& FieldName() const { return fieldName_; }
  FieldType DataType() const { return dataType_; }
  int Size() const { return size_; }
  QString DisplayLabel() const { return displayLabel_.isEmpty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const QString& label) { displayLabel_ = label; }
  QString DisplayName() const { return DisplayLabel(); }
  // The width in characters grids and listings give the field: the one set
  // (a grid column resized sets it), else the width of its type.
  int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : TypeDisplayWidth(dataType_, size_); }
  void SetDisplayWidth(int width) { displayWidth_ = width; }
  // A text field's size; a fixed width for the other types.
  static int TypeDisplayWidth(FieldType type, int size);
  const QString& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const QString& format) { displayFormat_ = format; }
  // The component's numeric tag (amount fields carry 1000 and more).
  int Tag() const;
  void SetTag(int tag);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  bool IsKey() const { return key_; }  // part of the table's primary key

  // Calculated and lookup fields are made by the program before opening;
  // their values live with the record shown and are worked out again each
  // time it changes (and, while editing, whenever a data field changes). A
  // calculated field is written by the dataset's OnCalcFields; a lookup field
  // shows LookupResultField of the record of LookupDataSet whose
  // LookupKeyFields equal this dataset's KeyFields (names joined by ";").
  ::FieldKind FieldKind() const { return kind_; }
  void SetFieldKind(::FieldKind kind);  // only while the dataset is closed
  bool Calculated() const { return kind_ == fkCalculated; }
  bool Lookup() const { return kind_ == fkLookup; }
  Dataset* LookupDataSet() const;
  void SetLookupDataSet(Dataset* dataSet);
  const QString& LookupKeyFields() const { return lookupKeyFields_; }
  void SetLookupKeyFields(const QString& names) { lookupKeyFields_ = names; }
  const QString& LookupResultField() const { return lookupResultField_; }
  void SetLookupResultField(const QString& name) { lookupResultField_ = name; }
  const QString& KeyFields() const { return keyFields_; }
  void SetKeyFields(const QString& names) { keyFields_ = names; }

  FieldGetTextEvent OnGetText;
  FieldSetTextEvent OnSetText;

  bool IsNull() const;
  void Clear();

  // Reading as a type the value does not convert to raises Exception with
  // the format engine's text; a NULL value reads as "", 0, false or day 0.
  QString AsString() const;
  void SetAsString(const QString& text);
  int AsInteger() const;
  void SetAsInteger(int value);
  double AsFloat() const;
  void SetAsFloat(double value);
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime value);
  bool AsBoolean() const;
  void SetAsBoolean(bool value);
  // The value with the field's variant kind; Null for NULL.
  Variant AsVariant() const;
  void SetAsVariant(const Variant& value);
  Variant Value() const { return AsVariant(); }
  void SetValue(const Variant& value) { SetAsVariant(value); }
  QByteArray AsBytes() const;  // the raw content of a binary or text field
  void SetAsBytes(const QByteArray& bytes);
  // Takes another field's value as SetAsString(source.AsString()) would,
  // raising what it would raise, but without the text where both fields
  // hold the same kind of value: floats keep every digit and date-times
  // their milliseconds.
  void AssignValue(const Field& source);

  // The text a user edits, and the text shown (with DisplayFormat); both
  // through OnGetText when it is set, and SetText through OnSetText.
  QString Text() const;
  void SetText(const QString& text);
  QString DisplayText() const;

 private:
  friend class Dataset;
  void bind(int column, FieldType type, int size, bool required, bool key);
  // Not a column of the record: the dataset keeps its value apart.
  bool outsideRecord() const { return kind_ != fkData; }
  void lookUp();
  QString handledText(bool displayText) const;
  [[noreturn]] void accessError(const char* typeName) const;
  const QVariant& stored() const;
  void store(QVariant value);
  [[noreturn]] void rangeError(const QString& value, FieldType type) const;
  void storeInteger(qint64 value);
  void storeRounded(double value);
  void storeFloat(double value);
  void storeDateTime(TDateTime value);
  void storeText(const QString& text);

  Dataset* dataset_;
  QString fieldName_;
  FieldType dataType_;
  FieldType declaredType_;
  int size_;
  int declaredSize_;
  bool persistent_;
  int column_ = -1;  // in the record buffer (calculated fields: in the dataset's), while open
  ::FieldKind kind_ = fkData;
  QPointer<Dataset> lookupDataSet_;
  QString lookupKeyFields_;
  QString lookupResultField_;
  QString keyFields_;
  QString displayLabel_;
  QString displayFormat_;
  int displayWidth_ = 0;
  bool readOnly_ = false;
  bool visible_ = true;
  bool required_ = false;
  bool key_ = false;
};
