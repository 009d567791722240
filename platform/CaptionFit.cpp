#include "platform/CaptionFit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>

namespace {

constexpr qreal kSmallestLetter = 6.0;
constexpr qreal kLetterStep = 0.5;
constexpr int kMargin = 4;

bool placedByHand(const QWidget& widget) {
  const QWidget* parent = widget.parentWidget();
  return parent && !(parent->layout() && parent->layout()->indexOf(&widget) >= 0);
}

bool isCaption(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget))
    return !label->wordWrap() && !label->text().isEmpty() && !label->hasScaledContents() && label->pixmap().isNull();
  const auto* button = qobject_cast<const QAbstractButton*>(&widget);
  return button && !button->text().isEmpty();
}

void fit(QWidget& caption) {
  const int room = caption.parentWidget()->width() - caption.x() - kMargin;
  if (caption.sizeHint().width() <= caption.width()) return;
  caption.resize(std::max(caption.width(), std::min(caption.sizeHint().width(), room)), caption.height());
  QFont letter = caption.font();
  while (caption.sizeHint().width() > caption.width() && letter.pointSizeF() - kLetterStep >= kSmallestLetter) {
    letter.setPointSizeF(letter.pointSizeF() - kLetterStep);
    caption.setFont(letter);
  }
}

}  // namespace

void FitCaptions(QWidget& form) {
  for (QWidget* widget : form.findChildren<QWidget*>())
    if (isCaption(*widget) && placedByHand(*widget)) fit(*widget);
}
