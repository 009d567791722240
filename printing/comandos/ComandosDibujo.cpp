#include "printing/comandos/ComandosDibujo.h"

#include "core/helpers/Estilos.h"
#include "printing/comandos/DestinoComandos.h"
#include "printing/formlang/MarcasEstilo.h"
#include "printing/formlang/NumerosImpreso.h"

#include <QPainter>

#include <cmath>

namespace {

// Colours are written with red in the low byte.
QColor Color(const QString& texto) {
  const int valor = ColorDeTexto(texto);
  return QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
}

QPoint Punto(DestinoComandos& destino, const QString& x, const QString& y) {
  const GeometriaImpreso& geometria = destino.Ejecucion().geometria;
  return {destino.PixelesX(geometria.CoordenadaX(NumeroImpreso(x))),
          destino.PixelesY(geometria.CoordenadaY(NumeroImpreso(y)))};
}

// Pen width in device pixels; 0 or unreadable draws one pixel.
void PonerLapiz(LienzoImpreso& lienzo, const LineaInstruccion& linea) {
  qint64 ancho = 0;
  if (!LeerEnteroImpreso(linea.Argumento(5), ancho) || ancho <= 0) ancho = 1;
  const QString estilo = linea.Argumento(7);
  lienzo.lapiz = QPen(QBrush(Color(linea.Argumento(6))), double(ancho),
                      estilo == u"Puntos" ? Qt::DotLine : estilo == u"Ninguno" ? Qt::NoPen : Qt::SolidLine,
                      Qt::SquareCap, Qt::MiterJoin);
}

QPainter* Pintor(DestinoComandos& destino) {
  LienzoImpreso* lienzo = destino.Lienzo();
  return lienzo ? lienzo->pintor : nullptr;
}

}  // namespace

void ComandoRect(DestinoComandos& destino, const LineaInstruccion& linea) {
  QPainter* pintor = Pintor(destino);
  if (!pintor) return;
  LienzoImpreso& lienzo = *destino.Lienzo();
  PonerLapiz(lienzo, linea);
  lienzo.brocha = linea.Argumento(9) == u"Solido" ? QBrush(Color(linea.Argumento(8))) : QBrush(Qt::NoBrush);
  const QPoint uno = Punto(destino, linea.Argumento(1), linea.Argumento(2));
  const QPoint dos = Punto(destino, linea.Argumento(3), linea.Argumento(4));
  const double anchoEsquina = NumeroImpreso(linea.Argumento(10));
  const double altoEsquina = NumeroImpreso(linea.Argumento(11));
  pintor->save();
  pintor->setPen(lienzo.lapiz);
  pintor->setBrush(lienzo.brocha);
  // As on the system's canvas, the right and bottom edges given are not drawn.
  const QRect caja = QRect(uno, dos).normalized().adjusted(0, 0, -1, -1);
  if (anchoEsquina == 0 && altoEsquina == 0) {
    pintor->drawRect(caja);
  } else {
    const QPoint esquina = Punto(destino, linea.Argumento(10), linea.Argumento(11));
    pintor->drawRoundedRect(caja, esquina.x() / 2.0, esquina.y() / 2.0);
  }
  pintor->restore();
}

void ComandoLine(DestinoComandos& destino, const LineaInstruccion& linea) {
  QPainter* pintor = Pintor(destino);
  if (!pintor) return;
  LienzoImpreso& lienzo = *destino.Lienzo();
  PonerLapiz(lienzo, linea);
  pintor->save();
  pintor->setPen(lienzo.lapiz);
  pintor->drawLine(Punto(destino, linea.Argumento(1), linea.Argumento(2)),
                   Punto(destino, linea.Argumento(3), linea.Argumento(4)));
  pintor->restore();
}

void ComandoFont(DestinoComandos& destino, const LineaInstruccion& linea) {
  LienzoImpreso* lienzo = destino.Lienzo();
  if (!lienzo) return;
  const AjustesImpreso& ajustes = destino.Ejecucion().geometria.ajustes;
  qint64 tamano = 0;
  if (!LeerEnteroImpreso(linea.Argumento(2), tamano) || tamano > MayorTamanoMarca) tamano = 0;
  const double compresion = ajustes.compresionVertical != 1 ? ajustes.compresionVertical : ajustes.compresionHorizontal;
  const qint64 puntos = static_cast<qint64>(std::trunc(double(tamano) * compresion));
  lienzo->fuente.setFamily(linea.Argumento(1));
  // A size of no points leaves the face at its smallest drawable size.
  lienzo->fuente.setPointSize(int(std::clamp<qint64>(puntos, 1, 1000)));
  lienzo->colorFuente = Color(linea.Argumento(3));
  const QString estilos = linea.Argumento(4);
  const QString palabras[] = {estilos.section(u',', 0, 0), estilos.section(u',', 1, 1)};
  PonerEstilos(palabras, lienzo->fuente);
}
