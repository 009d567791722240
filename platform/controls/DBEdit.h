#pragma once

#include "platform/controls/FieldDataLink.h"

#include <QLineEdit>
#include <QPlainTextEdit>

// An edit bound to a field: it shows the field's display text (its
// DisplayFormat) while it does not have the focus and its edit text while
// it has; typing puts the dataset in edit and the text is stored in the
// field when the edit is left or Enter is pressed. EditMask is the input
// mask of the text.
class DBEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)

 public:
  explicit DBEdit(QWidget* parent = nullptr);

  DataSource* Source() const { return link_.Source(); }
  void SetSource(DataSource* source) { link_.SetSource(source); }
  QString DataField() const { return link_.FieldName(); }
  void SetDataField(const QString& name) { link_.SetFieldName(name); }
  Field* BoundField() const { return link_.BoundField(); }
  QString EditMask() const { return inputMask(); }
  void SetEditMask(const QString& mask) { setInputMask(mask); }

  // Stores the edited text in the field, as leaving the edit does.
  void UpdateRecord();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void display();
  FieldDataLink link_{this};
  bool changed_ = false;
  bool showing_ = false;
};

// A memo bound to a text or memo field, stored when it is left.
class DBMemo : public QPlainTextEdit {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  explicit DBMemo(QWidget* parent = nullptr);

  DataSource* Source() const { return link_.Source(); }
  void SetSource(DataSource* source) { link_.SetSource(source); }
  QString DataField() const { return link_.FieldName(); }
  void SetDataField(const QString& name) { link_.SetFieldName(name); }
  Field* BoundField() const { return link_.BoundField(); }

  void UpdateRecord();

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void display();
  FieldDataLink link_{this};
  bool changed_ = false;
  bool showing_ = false;
};
