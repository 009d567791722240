#include "platform/controls/DBEdit.h"

#include "platform/data/Field.h"

#include <QScopedValueRollback>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QLineEdit::textEdited, this, [this] {
    if (!BeginChange()) display();
  });
  connect(this, &QLineEdit::editingFinished, this, &DBEdit::UpdateRecord);
  display();
}

void DBEdit::display() {
  if (showing_) return;
  const QScopedValueRollback guard(showing_, true);
  Field* field = BoundField();
  changed_ = false;
  setReadOnly(!link_.CanModify());
  if (!field) {
    setText(QString());
    return;
  }
  if (field->Size() > 0 && inputMask().isEmpty()) setMaxLength(field->Size());
  setText(hasFocus() ? field->Text() : field->DisplayText());
}

void DBEdit::UpdateRecord() {
  StoreChange([this](Field& field) { field.SetText(text()); });
}

void DBEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!changed_) display();
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
  UpdateRecord();
  QLineEdit::focusOutEvent(event);
  display();
}

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_ && !BeginChange()) display();
  });
  display();
}

void DBMemo::display() {
  if (showing_) return;
  const QScopedValueRollback guard(showing_, true);
  Field* field = BoundField();
  changed_ = false;
  setReadOnly(!link_.CanModify());
  setPlainText(field ? field->AsString() : QString());
}

void DBMemo::UpdateRecord() {
  StoreChange([this](Field& field) { field.SetAsString(toPlainText()); });
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
  UpdateRecord();
  QPlainTextEdit::focusOutEvent(event);
}
