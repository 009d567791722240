#pragma once

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>

// The form as a person sees it, with the windows open over it (a pick
// list's pop-up) drawn in their places; ZEMWIN_CAPTURAS keeps it as a PNG.
inline QImage CapturaFormulario(QWidget& formulario, const QString& nombre) {
  QList<QWidget*> ventanas{&formulario};
  QRect zona = formulario.geometry();
  for (QWidget* ventana : QApplication::topLevelWidgets())
    if (ventana != &formulario && ventana->isVisible() && ventana->windowType() == Qt::Popup) {
      ventanas.append(ventana);
      zona = zona.united(ventana->geometry());
    }
  QImage imagen(zona.size(), QImage::Format_RGB32);
  imagen.fill(Qt::darkGray);
  QPainter pintor(&imagen);
  for (QWidget* ventana : ventanas) pintor.drawPixmap(ventana->geometry().topLeft() - zona.topLeft(), ventana->grab());
  pintor.end();
  if (const QString carpeta = qEnvironmentVariable("ZEMWIN_CAPTURAS"); !carpeta.isEmpty())
    imagen.save(QDir(carpeta).filePath(nombre + QStringLiteral(".png")));
  return imagen;
}

// The darkest colour painted in that part of the picture: the ink of the
// text drawn there.
inline QColor TintaMasOscura(const QImage& imagen, const QRect& zona) {
  QColor tinta = Qt::white;
  for (int y = zona.top(); y <= zona.bottom(); ++y)
    for (int x = zona.left(); x <= zona.right(); ++x)
      if (const QColor punto = imagen.pixelColor(x, y); punto.lightness() < tinta.lightness()) tinta = punto;
  return tinta;
}
