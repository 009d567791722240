#include "printing/VistaPagina.h"

#include "platform/report/PagePainter.h"

#include <QPainter>

VistaPagina::VistaPagina(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("VistaPagina"));
  ajustar();
}

void VistaPagina::Mostrar(PageRecord pagina, const QSizeF& tamano) {
  pagina_ = std::move(pagina);
  tamano_ = tamano;
  ajustar();
  update();
}

void VistaPagina::SetZoom(int porcentaje) {
  zoom_ = porcentaje;
  ajustar();
  update();
}

void VistaPagina::ajustar() { resize((tamano_ * zoom_ / 100.0).toSize()); }

void VistaPagina::paintEvent(QPaintEvent* /*event*/) {
  QPainter pintor(this);
  pintor.fillRect(rect(), Qt::white);
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.setRenderHint(QPainter::TextAntialiasing);
  pintor.scale(zoom_ / 100.0, zoom_ / 100.0);
  PaintPage(pintor, pagina_);
}
