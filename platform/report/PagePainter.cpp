#include "platform/report/PagePainter.h"

#include "platform/report/PageRecord.h"
#include "platform/report/TextLines.h"

#include <QPainter>

void PaintPage(QPainter& painter, const PageRecord& page) {
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  for (const PageCell& cell : page.cells) {
    switch (cell.kind) {
      case PageCell::Kind::Text:
        if (cell.background.isValid()) painter.fillRect(cell.rect, cell.background);
        if (cell.frame) painter.drawRect(cell.rect);
        painter.setFont(UnitFont(cell.font));
        painter.setPen(cell.color);
        painter.drawText(cell.rect, cell.alignment, cell.text);
        painter.setPen(QPen(Qt::black, 1));
        break;
      case PageCell::Kind::Line:
        if (cell.rect.width() >= cell.rect.height()) painter.drawLine(cell.rect.topLeft(), cell.rect.topRight());
        else painter.drawLine(cell.rect.topLeft(), cell.rect.bottomLeft());
        break;
      case PageCell::Kind::Rectangle: painter.drawRect(cell.rect); break;
      case PageCell::Kind::Ellipse: painter.drawEllipse(cell.rect); break;
      case PageCell::Kind::Picture: painter.drawImage(cell.rect, cell.picture); break;
    }
  }
}
