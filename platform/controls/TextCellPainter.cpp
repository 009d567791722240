#include "platform/controls/TextCellPainter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QWidget>

namespace {

bool showsOneLineOfText(const QStyleOptionViewItem& cell) {
  constexpr auto kOther = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
  return !(cell.features & kOther) && !(cell.state & QStyle::State_Editing) &&
         !cell.text.contains(QChar::LineFeed) && !cell.text.contains(QChar::LineSeparator);
}

QPalette::ColorGroup colourGroup(const QStyleOptionViewItem& cell) {
  if (!(cell.state & QStyle::State_Enabled)) return QPalette::Disabled;
  return cell.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

// One line holding the whole text, aligned in the given width.
void layOut(QTextLayout& layout, const QStyleOptionViewItem& cell, qreal width) {
  QTextOption option;
  option.setWrapMode(QTextOption::ManualWrap);
  option.setTextDirection(cell.direction);
  option.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(width);
  line.setPosition(QPointF(0, 0));
  layout.endLayout();
}

QRect textArea(const QStyleOptionViewItem& cell, const QStyle& style) {
  const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
  return cell.rect.adjusted(margin, 0, -margin, 0);
}

void drawText(QPainter& painter, const QStyleOptionViewItem& cell, QTextLayout& layout, const QRect& area) {
  if (layout.lineAt(0).naturalTextWidth() > area.width()) {
    layout.setText(QFontMetrics(cell.font).elidedText(cell.text, cell.textElideMode, area.width()));
    layOut(layout, cell, area.width());
  }
  const qreal height = layout.lineAt(0).height();
  qreal top = area.top();
  if (cell.displayAlignment & Qt::AlignBottom)
    top = area.bottom() + 1 - height;
  else if (!(cell.displayAlignment & Qt::AlignTop))
    top = area.top() + (area.height() - height) / 2;
  const QPalette::ColorGroup group = colourGroup(cell);
  painter.setPen(cell.palette.color(group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
  layout.draw(&painter, QPointF(area.left(), top));
}

void drawFocusFrame(QPainter& painter, const QStyleOptionViewItem& cell, const QStyle& style) {
  QStyleOptionFocusRect frame;
  frame.QStyleOption::operator=(cell);
  frame.rect = style.subElementRect(QStyle::SE_ItemViewItemFocusRect, &cell, cell.widget);
  frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
  const QPalette::ColorGroup group = cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
  frame.backgroundColor =
      cell.palette.color(group, cell.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
  style.drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, cell.widget);
}

}  // namespace

bool PaintTextCell(QPainter& painter, const QStyleOptionViewItem& cell) {
  if (!showsOneLineOfText(cell)) return false;
  const QStyle& style = cell.widget ? *cell.widget->style() : *QApplication::style();
  const QRect area = textArea(cell, style);
  QTextLayout layout(cell.text, cell.font);
  layOut(layout, cell, area.width());
  // Text wrapped in more than one line is the style's to draw.
  if ((cell.features & QStyleOptionViewItem::WrapText) && layout.lineAt(0).naturalTextWidth() > area.width())
    return false;
  painter.save();
  painter.setClipRect(cell.rect);
  style.drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, &painter, cell.widget);
  if (!cell.text.isEmpty()) drawText(painter, cell, layout, area);
  if (cell.state & QStyle::State_HasFocus) drawFocusFrame(painter, cell, style);
  painter.restore();
  return true;
}
