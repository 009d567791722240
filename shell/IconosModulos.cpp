#include "shell/IconosModulos.h"

#include <QPainter>
#include <QPixmap>

QIcon ImagenModulo(int n) {
  QPixmap imagen(64, 64);
  imagen.fill(Qt::transparent);
  QPainter pintor(&imagen);
  pintor.setRenderHint(QPainter::Antialiasing);
  // Each button its own hue; the disabled entry grey.
  const QColor color = n == 0 ? QColor(Qt::gray) : QColor::fromHsv((n * 47) % 360, 160, 200);
  pintor.setBrush(color);
  pintor.setPen(QPen(color.darker(150), 2));
  pintor.drawRoundedRect(QRectF(6, 6, 52, 52), 10, 10);
  pintor.setBrush(color.lighter(140));
  pintor.drawEllipse(QRectF(20, 20, 24, 24));
  return QIcon(imagen);
}
