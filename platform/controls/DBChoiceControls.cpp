#include "platform/controls/DBChoiceControls.h"

#include "platform/data/Field.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

DBCheckBox::DBCheckBox(QWidget* parent) : QCheckBox(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QCheckBox::clicked, this, &DBCheckBox::store);
  display();
}

void DBCheckBox::display() {
  if (showing_) return;
  const QScopedValueRollback guard(showing_, true);
  Field* field = BoundField();
  setEnabled(field != nullptr);
  if (!field || field->IsNull()) {
    setChecked(false);
    return;
  }
  setChecked(field->DataType() == ftBoolean ? field->AsBoolean()
                                             : field->Text().compare(ValueChecked, Qt::CaseInsensitive) == 0);
}

void DBCheckBox::store(bool checked) {
  WriteNow([&](Field& field) {
    if (field.DataType() == ftBoolean)
      field.SetAsBoolean(checked);
    else
      field.SetText(checked ? ValueChecked : ValueUnchecked);
  });
  display();
}

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QComboBox::textActivated, this, &DBComboBox::store);
  display();
}

void DBComboBox::display() {
  if (showing_) return;
  const QScopedValueRollback guard(showing_, true);
  Field* field = BoundField();
  const QString text = field ? field->Text() : QString();
  if (isEditable()) {
    setEditText(text);
    if (lineEdit()) {
      disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
      connect(lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (Field* bound = BoundField(); bound && bound->Text() != currentText()) store(currentText());
      });
    }
  } else {
    setCurrentIndex(findText(text));
  }
}

void DBComboBox::store(const QString& text) {
  if (showing_) return;
  WriteNow([&](Field& field) { field.SetText(text); });
  display();
}

DBRadioGroup::DBRadioGroup(QWidget* parent)
    : QGroupBox(parent), DataAwareControl(this), buttons_(new QButtonGroup(this)) {
  new QVBoxLayout(this);
  link_.OnRefresh = [this] { display(); };
  connect(buttons_, &QButtonGroup::idClicked, this, &DBRadioGroup::SetItemIndex);
}

void DBRadioGroup::SetItems(const QStringList& items) {
  for (QAbstractButton* button : buttons_->buttons()) delete button;
  items_ = items;
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    layout()->addWidget(button);
    buttons_->addButton(button, i);
  }
  display();
}

QString DBRadioGroup::valueOf(int index) const {
  return index < Values.size() ? Values[index] : items_.value(index);
}

int DBRadioGroup::ItemIndex() const {
  Field* field = BoundField();
  if (!field) return -1;
  const QString text = field->Text();
  for (int i = 0; i < items_.size(); ++i)
    if (valueOf(i) == text) return i;
  return -1;
}

void DBRadioGroup::SetItemIndex(int index) {
  if (showing_ || index < 0 || index >= items_.size()) return;
  WriteNow([&](Field& field) { field.SetText(valueOf(index)); });
  display();
}

void DBRadioGroup::display() {
  if (showing_) return;
  const QScopedValueRollback guard(showing_, true);
  const int index = ItemIndex();
  buttons_->setExclusive(false);
  for (QAbstractButton* button : buttons_->buttons()) button->setChecked(buttons_->id(button) == index);
  buttons_->setExclusive(true);
  setEnabled(BoundField() != nullptr);
}
