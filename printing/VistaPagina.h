#pragma once

#include "platform/report/PageRecord.h"

#include <QSizeF>
#include <QWidget>

// One recorded page drawn at a zoom, white on the preview's grey.
class VistaPagina : public QWidget {
 public:
  explicit VistaPagina(QWidget* parent = nullptr);
  void Mostrar(PageRecord pagina, const QSizeF& tamano);
  void SetZoom(int porcentaje);
  int Zoom() const { return zoom_; }
  const PageRecord& Pagina() const { return pagina_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ajustar();
  PageRecord pagina_;
  QSizeF tamano_{794, 1123};
  int zoom_ = 100;
};
