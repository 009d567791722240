#include "platform/controls/DBDisplayControls.h"

#include "platform/data/Field.h"

#include <QPixmap>

DBText::DBText(QWidget* parent) : QLabel(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] {
    Field* field = BoundField();
    setText(field ? field->DisplayText() : QString());
  };
}

DBImage::DBImage(QWidget* parent) : QLabel(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { display(); };
  setAlignment(Qt::AlignCenter);
}

void DBImage::display() {
  Field* field = BoundField();
  QPixmap picture;
  if (field && !field->IsNull()) picture.loadFromData(field->AsBytes());
  setPixmap(picture);
}

bool DBImage::LoadPicture(const QByteArray& bytes) {
  if (!link_.Edit()) return false;
  BoundField()->SetAsBytes(bytes);
  display();
  return true;
}
