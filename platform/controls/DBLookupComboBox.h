#pragma once

#include "platform/controls/FieldDataLink.h"

#include <QComboBox>
#include <QPointer>

#include <optional>

// A combo box whose field holds a key of another dataset (ListSource): it
// shows ListField of the record whose KeyField equals the field's value and
// stores the key of the record chosen. The list is read when it drops down.
class DBLookupComboBox : public QComboBox, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(QString KeyField MEMBER KeyField)
  Q_PROPERTY(QString ListField MEMBER ListField)

 public:
  explicit DBLookupComboBox(QWidget* parent = nullptr);

  DataSource* ListSource() const { return listSource_; }
  void SetListSource(DataSource* source);

  QString KeyField;
  QString ListField;

  // The key of the record shown; setting it shows that record's ListField
  // without writing the field.
  Variant KeyValue() const;
  void SetKeyValue(const Variant& key);
  // Reads the list's records (from the first) into the items.
  void FillList();
  void showPopup() override;

 private:
  void display();
  void showText(const QString& text);
  void store(int index);
  QPointer<DataSource> listSource_;
  std::optional<Variant> shownKey_;  // set through SetKeyValue, until the field is shown again
  QList<Variant> keys_;  // of the items read; a last item beyond them shows a key not listed
};
