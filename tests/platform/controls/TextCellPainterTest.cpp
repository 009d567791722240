#include "platform/controls/TextCellPainter.h"

#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QTableView>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A cell of a table view on screen, as the view hands it to its delegate.
QStyleOptionViewItem Cell(const QTableView& view, const QString& text) {
  QStyleOptionViewItem cell;
  cell.initFrom(&view);
  cell.widget = &view;
  cell.rect = QRect(0, 0, 170, 22);
  cell.font = view.font();
  cell.fontMetrics = view.fontMetrics();
  cell.text = text;
  cell.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::WrapText;  // a table view's default
  cell.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  cell.textElideMode = Qt::ElideRight;
  cell.showDecorationSelected = true;  // as a table view shows its items
  cell.state |= QStyle::State_Enabled | QStyle::State_Active;
  return cell;
}

// Where two pictures differ, for the failure's message.
QString Differences(const QImage& a, const QImage& b) {
  QRect where;
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        ++count;
        where |= QRect(x, y, 1, 1);
      }
  return u"%1 points differ within (%2,%3)-(%4,%5)"_qs.arg(count).arg(where.left()).arg(where.top()).arg(where.right()).arg(where.bottom());
}

QImage Drawn(const std::function<void(QPainter&)>& draw) {
  QImage image(180, 24, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  draw(painter);
  return image;
}

}  // namespace

// Every kind of one-line cell a grid shows comes out as the style draws it.
TEST(TextCellPainter, DrawsAOneLineCellAsTheStyleDoes) {
  QTableView view;
  view.resize(300, 200);
  view.show();
  struct Case {
    const char* what;
    std::function<void(QStyleOptionViewItem&)> dress;
  };
  const Case cases[] = {
      {"plain text", [](QStyleOptionViewItem& c) { c.text = u"Ñandú ágil_@zem.es"_qs; }},
      {"a number to the right", [](QStyleOptionViewItem& c) {
         c.text = u"1.234,56"_qs;
         c.displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
       }},
      {"centred", [](QStyleOptionViewItem& c) { c.displayAlignment = Qt::AlignHCenter | Qt::AlignVCenter; }},
      {"too long, elided", [](QStyleOptionViewItem& c) {
         c.text = u"Artículo de nombre muy largo que no cabe en la celda"_qs;
         c.features &= ~QStyleOptionViewItem::WrapText;
       }},
      {"too long, elided on the left", [](QStyleOptionViewItem& c) {
         c.text = u"Artículo de nombre muy largo que no cabe en la celda"_qs;
         c.textElideMode = Qt::ElideLeft;
         c.features &= ~QStyleOptionViewItem::WrapText;
       }},
      {"selected", [](QStyleOptionViewItem& c) { c.state |= QStyle::State_Selected; }},
      {"selected and current", [](QStyleOptionViewItem& c) { c.state |= QStyle::State_Selected | QStyle::State_HasFocus; }},
      {"current, the selection behind the text alone", [](QStyleOptionViewItem& c) {
         c.showDecorationSelected = false;
         c.state |= QStyle::State_Selected | QStyle::State_HasFocus;
       }},
      {"in a window not active", [](QStyleOptionViewItem& c) {
         c.state &= ~QStyle::State_Active;
         c.state |= QStyle::State_Selected;
       }},
      {"bold, underlined, in colour over a background", [](QStyleOptionViewItem& c) {
         c.font.setBold(true);
         c.font.setUnderline(true);
         c.palette.setColor(QPalette::Text, Qt::red);
         c.backgroundBrush = QColor(255, 255, 225);
       }},
      {"empty", [](QStyleOptionViewItem& c) { c.text.clear(); }},
  };
  for (const Case& c : cases) {
    QStyleOptionViewItem cell = Cell(view, u"Cliente 1"_qs);
    c.dress(cell);
    const QImage ours = Drawn([&](QPainter& painter) { ASSERT_TRUE(PaintTextCell(painter, cell)) << c.what; });
    const QImage style = Drawn([&](QPainter& painter) { view.style()->drawControl(QStyle::CE_ItemViewItem, &cell, &painter, &view); });
    EXPECT_TRUE(ours == style) << c.what << ": " << qPrintable(Differences(ours, style));
  }
}

// Cells with a check box or an icon, being edited, or whose text wraps in
// more than one line.
TEST(TextCellPainter, LeavesOtherCellsToTheStyle) {
  QTableView view;
  for (const auto& dress : std::initializer_list<std::function<void(QStyleOptionViewItem&)>>{
           [](QStyleOptionViewItem& c) { c.features |= QStyleOptionViewItem::HasCheckIndicator; },
           [](QStyleOptionViewItem& c) { c.features |= QStyleOptionViewItem::HasDecoration; },
           [](QStyleOptionViewItem& c) { c.text = u"Artículo de nombre muy largo que no cabe en la celda"_qs; },
           [](QStyleOptionViewItem& c) { c.state |= QStyle::State_Editing; },
           [](QStyleOptionViewItem& c) { c.text = u"dos\nlíneas"_qs; },
       }) {
    QStyleOptionViewItem cell = Cell(view, u"Cliente 1"_qs);
    dress(cell);
    const QImage drawn = Drawn([&](QPainter& painter) { EXPECT_FALSE(PaintTextCell(painter, cell)); });
    EXPECT_EQ(drawn, Drawn([](QPainter&) {}));
  }
}
