#pragma once

#include "platform/controls/FieldDataLink.h"

#include <QLabel>

// A label showing a field's display text.
class DBText : public QLabel {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  explicit DBText(QWidget* parent = nullptr);

  DataSource* Source() const { return link_.Source(); }
  void SetSource(DataSource* source) { link_.SetSource(source); }
  QString DataField() const { return link_.FieldName(); }
  void SetDataField(const QString& name) { link_.SetFieldName(name); }
  Field* BoundField() const { return link_.BoundField(); }

 private:
  FieldDataLink link_{this};
};

// A picture held in a binary field: shown from its bytes; LoadPicture
// stores a new one (in the image file's own format).
class DBImage : public QLabel {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  explicit DBImage(QWidget* parent = nullptr);

  DataSource* Source() const { return link_.Source(); }
  void SetSource(DataSource* source) { link_.SetSource(source); }
  QString DataField() const { return link_.FieldName(); }
  void SetDataField(const QString& name) { link_.SetFieldName(name); }
  Field* BoundField() const { return link_.BoundField(); }

  // False when the dataset cannot be edited; the bytes are stored unchanged.
  bool LoadPicture(const QByteArray& bytes);

 private:
  void display();
  FieldDataLink link_{this};
};
