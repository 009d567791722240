#pragma once

#include <QFont>
#include <QString>

class QPaintDevice;

class DestinoComandos;
struct LineaInstruccion;

// What every value-printing command hands to the text routine.
struct ArgumentosTexto {
  double x = 0;
  double y = 0;
  double ancho = 0;
  QString texto;
  QString alineacion;
};

ArgumentosTexto LeerArgumentosTexto(const LineaInstruccion& linea, int argumentoTexto = 4, int argumentoAlineacion = 5);
// A literal of the program as typed: the free separator back to the "|" it stands for.
QString TextoEscrito(DestinoComandos& destino, QString texto);
void ImprimirTexto(DestinoComandos& destino, const ArgumentosTexto& argumentos);
// The font texts are measured with on the destination: the canvas's, or
// the raw text printer's.
QFont FuenteMedida(DestinoComandos& destino);
QPaintDevice* DispositivoMedida(DestinoComandos& destino);

void ComandoText(DestinoComandos& destino, const LineaInstruccion& linea);
void ComandoAsci(DestinoComandos& destino, const LineaInstruccion& linea);
