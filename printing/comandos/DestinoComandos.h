#pragma once

#include "printing/comandos/LienzoImpreso.h"
#include "printing/formlang/EjecucionImpreso.h"

#include <QByteArray>
#include <QVariant>

#include <optional>

// What the commands of a printed form act on: the run's state, the canvas of
// the destination and the printer's raw channel.
class Dataset;
class TPrintBarcode;

class DestinoComandos {
 public:
  virtual ~DestinoComandos() = default;
  virtual EjecucionImpreso& Ejecucion() = 0;
  // The table of the row in print (the lines while [LINEAS] runs, else the
  // documents); none when the run is not over tables.
  virtual Dataset* DatosFila() = 0;
  // None when there is nothing to draw on (text mode on paper).
  virtual LienzoImpreso* Lienzo() = 0;
  virtual void EnviarCrudo(const QByteArray& bytes) = 0;
  // The form's own barcode control; none: the command makes one.
  virtual TPrintBarcode* CodigoBarras() { return nullptr; }

  // A field of the row in print: the line while [LINEAS] runs, else the
  // document. None when the row has no such field.
  std::optional<QVariant> CampoFila(const QString& campo);

  bool Pantalla() { return Ejecucion().destino == DestinoSalida::Pantalla; }
  // Millimetres of the paper to pixels of the destination.
  int PixelesX(double v) {
    const GeometriaImpreso& g = Ejecucion().geometria;
    return Pantalla() ? g.PixelesPaginaX(v) : g.PixelesImpresoraX(v);
  }
  int PixelesY(double v) {
    const GeometriaImpreso& g = Ejecucion().geometria;
    return Pantalla() ? g.PixelesPaginaY(v) : g.PixelesImpresoraY(v);
  }
};
