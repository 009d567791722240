#pragma once

#include <QImage>

class DestinoComandos;
struct LineaInstruccion;

// The corners of a picture in millimetres; x2 and y2 both 0 keep its own size.
struct EsquinasGrafico {
  double x1 = 0;
  double y1 = 0;
  double x2 = 0;
  double y2 = 0;
};

// A picture already in memory (a turned barcode) placed as `Graf` places its files.
void DibujarGrafico(DestinoComandos& destino, const EsquinasGrafico& esquinas, const QImage& imagen);
void ComandoGraf(DestinoComandos& destino, const LineaInstruccion& linea);
