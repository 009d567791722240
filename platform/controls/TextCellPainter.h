#pragma once

#include <QStyleOptionViewItem>

class QPainter;

// Draws a grid cell that shows one line of text (no check box, no icon, not
// being edited, not wrapped in more lines) as the widget's style draws an item view's
// item: its background and selection, the text in the option's font,
// colours and alignment, elided where it does not fit, and the focus frame.
// The text is laid out once; the style lays it out again to size, to elide
// and to draw it, which makes painting a grid several times slower. False,
// and nothing drawn, for any other cell.
bool PaintTextCell(QPainter& painter, const QStyleOptionViewItem& cell);
