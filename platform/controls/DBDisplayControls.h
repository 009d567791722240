#pragma once

#include "platform/controls/FieldDataLink.h"

#include <QLabel>

// A label showing a field's display text.
class DBText : public QLabel, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  explicit DBText(QWidget* parent = nullptr);


 private:
};

// A picture held in a binary field: shown from its bytes; LoadPicture
// stores a new one (in the image file's own format).
class DBImage : public QLabel, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  explicit DBImage(QWidget* parent = nullptr);


  // False when the dataset cannot be edited; the bytes are stored unchanged.
  bool LoadPicture(const QByteArray& bytes);

 private:
  void display();
};
