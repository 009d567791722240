#pragma once

#include "platform/data/DataSource.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class Field;

// What ties a data-aware control to one field of a data source: it tells
// the control when to show the field again and puts the dataset in edit
// when the user changes the value.
class FieldDataLink : public QObject {
  Q_OBJECT

 public:
  explicit FieldDataLink(QObject* control);

  DataSource* Source() const { return source_; }
  void SetSource(DataSource* source);
  const QString& FieldName() const { return fieldName_; }
  void SetFieldName(const QString& name);

  // The bound field while the dataset is open; none otherwise.
  Field* BoundField() const;
  // Whether the user may change the value now: a field that can be written
  // in a dataset that can be modified.
  bool CanModify() const;
  // Puts the dataset in edit when it is browsing; false when it cannot be.
  bool Edit();

  // Called whenever the control must show the field again.
  std::function<void()> OnRefresh;

 private:
  void connectSource();
  void refresh();

  QPointer<DataSource> source_;
  QString fieldName_;
  QMetaObject::Connection dataConnection_;
  QMetaObject::Connection stateConnection_;
};

// What every data-aware control has: its link, read and set through the
// names the forms use, and the flags that keep a control from showing the
// field again while it is the one writing it.
class DataAwareControl {
 public:
  DataSource* Source() const { return link_.Source(); }
  void SetSource(DataSource* source) { link_.SetSource(source); }
  QString DataField() const { return link_.FieldName(); }
  void SetDataField(const QString& name) { link_.SetFieldName(name); }
  Field* BoundField() const { return link_.BoundField(); }
  // The user changed the value shown and it is not stored in the field yet.
  bool Modified() const { return changed_; }

 protected:
  explicit DataAwareControl(QObject* control) : link_(control) {}
  ~DataAwareControl() = default;

  // The user began changing the value: the dataset goes into edit (reading
  // the record again, which is not shown over what the user typed). When it
  // cannot, or raises (another program holds the record), showField puts
  // the stored value back over what was typed.
  void BeginChange(const std::function<void()>& showField);
  // Stores the changed value through write, without showing it back.
  void StoreChange(const std::function<void(Field&)>& write);
  // Puts the dataset in edit and writes the value at once, as a click does.
  void WriteNow(const std::function<void(Field&)>& write);

  FieldDataLink link_;
  bool showing_ = false;  // the control is showing the field, or writing it
  bool changed_ = false;  // the user changed the value since it was shown
};
