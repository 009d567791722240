#include "core/forms/ImagenesEuro.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kAncho = 38;
constexpr int kLado = 15;  // the room of each currency's mark
constexpr int kAlto = 20;

void escribir(QPainter& pintor, const QRect& sitio, const QString& texto, int puntos, const QColor& color) {
  QFont letra(QStringLiteral("Liberation Sans"));
  letra.setPixelSize(puntos);
  letra.setBold(true);
  pintor.setFont(letra);
  pintor.setPen(color);
  pintor.drawText(sitio, Qt::AlignCenter, texto);
}

// The currency converted from on the left, an arrow, the one shown on the right.
QPixmap dibujar(const QString& desde, const QString& hacia) {
  QPixmap imagen(kAncho, kAlto);
  imagen.fill(Qt::transparent);
  QPainter pintor(&imagen);
  pintor.setRenderHint(QPainter::Antialiasing);
  const QColor azul(0, 51, 153);
  const QColor oro(204, 153, 0);
  escribir(pintor, QRect(0, 0, kLado, kAlto), desde, desde.size() > 1 ? 9 : 14, azul);
  QPainterPath flecha;
  flecha.moveTo(kLado, 8);
  flecha.lineTo(kLado + 4, 8);
  flecha.lineTo(kLado + 4, 5);
  flecha.lineTo(kLado + 8, 10);
  flecha.lineTo(kLado + 4, 15);
  flecha.lineTo(kLado + 4, 12);
  flecha.lineTo(kLado, 12);
  flecha.closeSubpath();
  pintor.fillPath(flecha, oro);
  escribir(pintor, QRect(kAncho - kLado, 0, kLado, kAlto), hacia, hacia.size() > 1 ? 9 : 14, azul);
  return imagen;
}

}  // namespace

QPixmap ImagenEuro(const QString& nombre) {
  const QString euro = QStringLiteral("€");
  const QString pesetas = QStringLiteral("Pts");
  if (nombre == QLatin1String("PTSEURO")) return dibujar(pesetas, euro);
  if (nombre == QLatin1String("EUROPTS")) return dibujar(euro, pesetas);
  return {};
}
