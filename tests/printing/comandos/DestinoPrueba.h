#pragma once

#include "printing/comandos/ComandosImpreso.h"
#include "printing/comandos/DestinoComandos.h"
#include "tests/printing/formlang/EntornoEnMemoria.h"

#include <QImage>
#include <QPainter>

// The run in memory with the command table behind its dispatcher.
class EntornoComandos : public EntornoEnMemoria {
 public:
  explicit EntornoComandos(DestinoComandos& destino) : destino_(destino) {}
  void EjecutarComando(const LineaInstruccion& linea) override { EjecutarComandoImpreso(destino_, linea); }

 private:
  DestinoComandos& destino_;
};

// The commands over a run in memory: an A4 preview page as the canvas, the
// raw channel written down.
class DestinoPrueba : public DestinoComandos {
 public:
  DestinoPrueba();
  EjecucionImpreso& Ejecucion() override { return ejecucion; }
  LienzoImpreso* Lienzo() override { return conLienzo ? &lienzo : nullptr; }
  Dataset* DatosFila() override { return datos; }
  void EnviarCrudo(const QByteArray& bytes) override { crudo += bytes; }

  void Ejecutar(const QString& linea);
  // A text printer on paper: no canvas, 600 dpi.
  void ModoTextoImpresora(qint64 filaInicial);
  const QImage& Imagen();
  // The box of what is not white; empty when the page is blank.
  QRect Tinta();

  EntornoComandos entorno{*this};
  EjecucionImpreso ejecucion{entorno, entorno};
  QImage imagen;
  QPainter pintor;
  LienzoImpreso lienzo;
  bool conLienzo = true;
  Dataset* datos = nullptr;
  QByteArray crudo;
};
