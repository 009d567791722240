#pragma once

#include <QString>

// The company's general parameters that shape a listing on paper and on
// screen. A program without them (the application manager) gets the
// listing as designed: no restrictions header, design margins, no
// compression, "Standard" colours, zoom "Normal" and the print dialog.
struct ParametrosListado {
  bool listarRestricciones = false;
  int margenIzquierdoImpresora = 0;  // mm; 0 keeps the design's
  QString tipoLetra = QStringLiteral("Por Defecto");
  double factorLetra = 1;
  double factorHorizontal = 1;
  QString tramas = QStringLiteral("Standard");
  QString visualizacionPrevia = QStringLiteral("Normal");
  bool solicitarDialogoImpresora = true;

  // Neither factor 0, and not both 1 with the default font.
  bool ConCompresion() const;
  // Whether a listing made now puts the options of the form it was asked
  // from under its title.
  bool RestriccionesAlCrear() const;
};

// Makes listings print the restrictions header whatever the general
// parameter says; off in this program.
extern bool ListarRestriccionesSiempre;

// Reads the parameters again, so a change another program saved counts.
ParametrosListado LeerParametrosListado();
