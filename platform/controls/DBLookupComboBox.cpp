#include "platform/controls/DBLookupComboBox.h"

#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include <QScopedValueRollback>

DBLookupComboBox::DBLookupComboBox(QWidget* parent) : QComboBox(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QComboBox::activated, this, &DBLookupComboBox::store);
}

void DBLookupComboBox::SetListSource(DataSource* source) {
  listSource_ = source;
  display();
}

void DBLookupComboBox::FillList() {
  const QScopedValueRollback guard(showing_, true);
  clear();
  keys_.clear();
  Dataset* list = listSource_ ? listSource_->DataSet() : nullptr;
  if (!list || !list->Active() || list->State() != dsBrowse) return;
  Field& key = list->FieldByName(KeyField);
  Field& shown = list->FieldByName(ListField);
  const Bookmark position = list->GetBookmark();
  list->DisableControls();
  for (list->First(); !list->Eof(); list->Next()) {
    addItem(shown.DisplayText());
    keys_.append(key.AsVariant());
  }
  if (list->BookmarkValid(position)) list->GotoBookmark(position);
  list->EnableControls();
}

void DBLookupComboBox::showPopup() {
  FillList();
  display();
  QComboBox::showPopup();
}

void DBLookupComboBox::display() {
  if (showing_) return;
  shownKey_.reset();
  const QScopedValueRollback guard(showing_, true);
  Field* field = BoundField();
  Dataset* list = listSource_ ? listSource_->DataSet() : nullptr;
  QString text;
  if (field && !field->IsNull() && list && list->Active() && !KeyField.isEmpty() && !ListField.isEmpty()) {
    const Variant shown = list->Lookup(KeyField, field->AsVariant(), ListField);
      if (!shown.IsNullOrEmpty()) text = shown.AsString();
  }
  showText(text);
}

void DBLookupComboBox::showText(const QString& text) {
  const int index = findText(text);
  if (index >= 0 && index < keys_.size()) {
    setCurrentIndex(index);
  } else {
    if (count() == keys_.size()) addItem(QString());
    setItemText(count() - 1, text);
    setCurrentIndex(count() - 1);
  }
}

Variant DBLookupComboBox::KeyValue() const {
  if (shownKey_) return *shownKey_;
  Field* field = BoundField();
  return field ? field->AsVariant() : Variant();
}

void DBLookupComboBox::SetKeyValue(const Variant& key) {
  const QScopedValueRollback guard(showing_, true);
  shownKey_ = key;
  Dataset* list = listSource_ ? listSource_->DataSet() : nullptr;
  QString text;
  if (list && list->Active() && !KeyField.isEmpty() && !ListField.isEmpty()) {
    const Variant shown = list->Lookup(KeyField, key, ListField);
    if (!shown.IsNullOrEmpty()) text = shown.AsString();
  }
  showText(text);
}

void DBLookupComboBox::store(int index) {
  if (showing_ || index < 0 || index >= keys_.size()) return;
  WriteNow([&](Field& field) { field.SetAsVariant(keys_[index]); });
  display();
}
