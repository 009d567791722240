#pragma once

#include "platform/controls/FieldDataLink.h"

#include <QLineEdit>
#include <QPlainTextEdit>

// An edit bound to a field: it shows the field's display text (its
// DisplayFormat) while it does not have the focus and its edit text while
// it has; typing puts the dataset in edit and the text is stored in the
// field when the edit is left or Enter is pressed. EditMask is the input
// mask of the text.
class DBEdit : public QLineEdit, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

 public:
  explicit DBEdit(QWidget* parent = nullptr);

  // The control's own read-only flag; the edit is read-only also while its
  // field cannot be modified.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);

  QString EditMask() const { return editMask_; }
  // The engine's mask ("!99/99/0000;1;_"), turned into Qt's input mask.
  void SetEditMask(const QString& mask);

  // Stores the edited text in the field, as leaving the edit does.
  void UpdateRecord();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void display();
  QString editMask_;
  bool readOnly_ = false;
};

// The text of a memo as typed: Qt's plain text turns a no-break space into
// a blank.
QString MemoText(const QPlainTextEdit& memo);

// A memo bound to a text or memo field, stored when it is left.
class DBMemo : public QPlainTextEdit, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  explicit DBMemo(QWidget* parent = nullptr);


  void UpdateRecord();

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void display();
};
