#pragma once

#include "printing/formlang/AjustesImpreso.h"

#include <QByteArray>
#include <QString>

// Positions of a printed form, from the program's units (millimetres, or
// character columns and text rows in text mode) to the paper and then to the
// pixels of a page or of the printer. Compression scales the drawn
// coordinates, not the margins or label pitches, which are divided by it
// first. The printer's physical size includes its unprintable edges.
struct DimensionesPapel {
  int ancho = 210;
  int alto = 297;
};

// "A4", "A4-Apaisado", "A5" (149 wide), "A5-Apaisado", or width "x" height in
// whole millimetres; anything else is A4.
DimensionesPapel FormatoPapel(const QString& formato);

inline constexpr double ResolucionPDF = 150;

struct GeometriaImpreso {
  int anchoPapel = 210;
  int altoPapel = 297;
  int anchoPagina = 0;
  int altoPagina = 0;
  double resolucionSalida = ResolucionPDF;
  int anchoFisicoImpresora = 0;
  int altoFisicoImpresora = 0;
  AjustesImpreso ajustes;
  qint64 posicionEtiqueta = 1;
  qint64 lineaActual = 1;
  qint64 filaTexto = 0;
  bool modoTexto = false;
  bool enSeccionLineas = false;
  bool enSeccionPie = false;

  double CoordenadaX(double x) const;
  double CoordenadaY(double y) const;
  int PixelesPaginaX(double v) const;
  int PixelesPaginaY(double v) const;
  int PixelesImpresoraX(double v) const;
  int PixelesImpresoraY(double v) const;
  int MilimetrosAPixeles(double milimetros) const;

  void TamanoPaginaPantalla();  // the preview's page: 80/21 pixels a millimetre across
  void TamanoPaginaPDF();       // at the output resolution
};

// The nearest whole pixel (halves to even), held inside what a canvas takes.
int RedondearPixel(double valor);

// Code page 850 for raw text printers; a character it lacks becomes "?".
QByteArray TextoAOem(const QString& texto);
// n copies of one character; n comes from a program's bounded numbers.
QString RepetirCaracter(QChar caracter, qint64 n);
