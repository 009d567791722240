#include "shell/ImagenesProducto.h"

#include <QFont>
#include <QPainter>

namespace {

// The splash's colours.
const QColor kVerdeAzulado(0, 128, 128);
const QColor kAmbar(254, 210, 120);

QPixmap lienzo(QSize tamano) {
  QPixmap imagen(tamano);
  imagen.fill(Qt::transparent);
  return imagen;
}

}  // namespace

QPixmap EmblemaProducto(int lado) {
  QPixmap imagen = lienzo(QSize(lado, lado));
  QPainter pintor(&imagen);
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.scale(lado / 100.0, lado / 100.0);
  pintor.setPen(QPen(kVerdeAzulado.darker(130), 3));
  pintor.setBrush(kAmbar);
  pintor.drawRoundedRect(QRectF(4, 4, 92, 92), 18, 18);
  // Four modules round one shared core.
  pintor.setPen(Qt::NoPen);
  for (const QPointF esquina : {QPointF(18, 18), QPointF(56, 18), QPointF(18, 56), QPointF(56, 56)}) {
    pintor.setBrush(kVerdeAzulado.lighter(esquina.x() == esquina.y() ? 100 : 140));
    pintor.drawRoundedRect(QRectF(esquina, QSizeF(26, 26)), 6, 6);
  }
  pintor.setBrush(Qt::white);
  pintor.setPen(QPen(kVerdeAzulado, 3));
  pintor.drawEllipse(QPointF(50, 50), 13, 13);
  return imagen;
}

QPixmap MarcaFabricante(QSize tamano) {
  QPixmap imagen = lienzo(tamano);
  QPainter pintor(&imagen);
  pintor.setRenderHint(QPainter::Antialiasing);
  const QRectF marco = QRectF(imagen.rect()).adjusted(1, 1, -1, -1);
  pintor.setPen(QPen(kAmbar, 2));
  pintor.setBrush(kVerdeAzulado);
  pintor.drawRoundedRect(marco, marco.height() / 4, marco.height() / 4);
  QFont letra(QStringLiteral("Arial"));
  letra.setBold(true);
  letra.setPixelSize(qMax(1, tamano.height() * 3 / 5));
  pintor.setFont(letra);
  pintor.setPen(Qt::white);
  pintor.drawText(marco, Qt::AlignCenter, QStringLiteral("ZEM"));
  return imagen;
}
