#pragma once

#include "printing/barcode/DibujoCodigoBarras.h"

// Lays bars and spaces left to right from a start point, each advancing x.
class Trazador {
 public:
  Trazador(DibujoCodigoBarras& dibujo, QPoint inicio) : dibujo_(dibujo), x_(inicio.x()), y_(inicio.y()) {}

  int X() const { return x_; }
  void Elemento(bool barra, int ancho, int alto, int desdeY = 0) {
    if (ancho <= 0) return;
    dibujo_.trazos.push_back({barra ? TrazoCodigo::Barra : TrazoCodigo::Espacio, QRect(x_, y_ + desdeY, ancho, alto)});
    x_ += ancho;
  }
  void Barra(int ancho, int alto, int desdeY = 0) { Elemento(true, ancho, alto, desdeY); }
  void Espacio(int ancho, int alto) { Elemento(false, ancho, alto); }

 private:
  DibujoCodigoBarras& dibujo_;
  int x_;
  int y_;
};

// The layouts by family; each leaves the drawing empty when it cannot draw.
void DisponerCode39(const ParametrosCodigoBarras& p, DibujoCodigoBarras& dibujo);
void DisponerEntrelazado(const ParametrosCodigoBarras& p, const QString& digitos, DibujoCodigoBarras& dibujo);
void DisponerCode128(const ParametrosCodigoBarras& p, DibujoCodigoBarras& dibujo);
void DisponerPostNet(const ParametrosCodigoBarras& p, int limite, DibujoCodigoBarras& dibujo);
void DisponerFim(const ParametrosCodigoBarras& p, QChar letra, DibujoCodigoBarras& dibujo);
void DisponerEan(const ParametrosCodigoBarras& p, DibujoCodigoBarras& dibujo);
