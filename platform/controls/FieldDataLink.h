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
