#pragma once

#include <QLabel>

// A picture of the form's own, not tied to a field.
class Image : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;
};
