#pragma once

#include "platform/Variant.h"
#include "platform/data/FieldType.h"
#include "platform/format/DateTime.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

class Dataset;

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

  const QString& FieldName() const { return fieldName_; }
  FieldType DataType() const { return dataType_; }
  int Size() const { return size_; }
  QString DisplayLabel() const { return displayLabel_.isEmpty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const QString& label) { displayLabel_ = label; }
  QString DisplayName() const { return DisplayLabel(); }
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

  // The text a user edits, and the text shown (with DisplayFormat).
  QString Text() const;
  void SetText(const QString& text) { SetAsString(text); }
  QString DisplayText() const;

 private:
  friend class Dataset;
  void bind(int column, FieldType type, int size, bool required, bool key);
  [[noreturn]] void accessError(const char* typeName) const;
  const QVariant& stored() const;
  void store(QVariant value);
  void storeInteger(qint64 value);
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
  int column_ = -1;  // in the record buffer, while the dataset is open
  QString displayLabel_;
  QString displayFormat_;
  bool readOnly_ = false;
  bool visible_ = true;
  bool required_ = false;
  bool key_ = false;
};
