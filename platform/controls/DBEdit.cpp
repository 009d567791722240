#include "platform/controls/DBEdit.h"

#include "platform/data/Field.h"

#include <QScopedValueRollback>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QLineEdit::textEdited, this, [this] {
    bool editing;
    {
      // Edit reads the record again: what was typed stays.
      const QScopedValueRollback guard(showing_, true);
      editing = link_.Edit();
    }
    if (editing)
      changed_ = true;
    else
      display();
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
  Field* field = BoundField();
  if (!changed_ || !field) return;
  {
    const QScopedValueRollback guard(showing_, true);
    field->SetText(text());
  }
  changed_ = false;
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

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (showing_) return;
    bool editing;
    {
      const QScopedValueRollback guard(showing_, true);
      editing = link_.Edit();
    }
    if (editing)
      changed_ = true;
    else
      display();
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
  Field* field = BoundField();
  if (!changed_ || !field) return;
  {
    const QScopedValueRollback guard(showing_, true);
    field->SetAsString(toPlainText());
  }
  changed_ = false;
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
  UpdateRecord();
  QPlainTextEdit::focusOutEvent(event);
}
