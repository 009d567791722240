#include "printing/comandos/ComandoTexto.h"

#include "platform/format/Format.h"
#include "printing/comandos/DestinoComandos.h"
#include "printing/formlang/LimitesImpreso.h"
#include "printing/formlang/MarcasEstilo.h"
#include "printing/formlang/NumerosImpreso.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

// On the rows a long memo adds to the lines only the field command prints.
bool EsFilaContinuacion(const EjecucionImpreso& ejecucion) {
  if (!ejecucion.geometria.enSeccionLineas || ejecucion.comandoActual == u"Camp") return false;
  for (const auto& [campo, valor] : ejecucion.Fuente().ValoresLinea()) {
    if (campo.compare(u"LineaMemo", Qt::CaseInsensitive) != 0) continue;
    bool leido = false;
    const qint64 linea = valor.toLongLong(&leido);
    return leido && linea != 0;
  }
  return false;
}

// A text-mode printout has no canvas on paper: it is measured as a 600 dpi
// printer in "Courier New" 12, so padding counts whole columns.
QFont FuenteModoTexto() {
  QFont fuente(u"Courier New"_qs);
  fuente.setPixelSize(12 * 600 / 72);
  return fuente;
}

// A box is at most as wide as the page it is drawn on.
int CajaTexto(DestinoComandos& destino, double ancho) {
  const GeometriaImpreso& g = destino.Ejecucion().geometria;
  return std::min(destino.PixelesX(ancho), std::max(destino.Pantalla() ? g.anchoPagina : g.anchoFisicoImpresora, 0));
}

QString Rellenar(const QString& texto, const ArgumentosTexto& argumentos, int caja, const QFontMetrics& medidas) {
  if (argumentos.ancho == 0 || (argumentos.alineacion != u"D" && argumentos.alineacion != u"C")) return texto;
  const int blanco = medidas.horizontalAdvance(u' ');
  if (blanco <= 0) return texto;
  qint64 n = std::llround(double(caja - medidas.horizontalAdvance(texto)) / blanco);
  if (argumentos.alineacion == u"C")
    n /= 2;
  else if (n > 0)
    --n;
  return n > 0 ? QString(n, u' ') + texto : texto;
}

// One command moves the paper at most a page and writes at most a row of it.
void EnviarFilaTexto(DestinoComandos& destino, const ArgumentosTexto& argumentos, const QString& texto) {
  GeometriaImpreso& geometria = destino.Ejecucion().geometria;
  const PaginaImpreso pagina = PaginaImpreso::De({geometria.anchoPapel, geometria.altoPapel}, true);
  const qint64 fila = geometria.PixelesImpresoraY(geometria.CoordenadaY(argumentos.y));
  const qint64 salto = std::min(std::abs(fila - geometria.filaTexto), pagina.Filas());
  if (fila > geometria.filaTexto)
    destino.EnviarCrudo(QByteArray(salto, '\n'));
  else if (fila < geometria.filaTexto)
    destino.EnviarCrudo(QByteArray("\x1bj$").repeated(salto));
  QByteArray oem = TextoAOem(texto);
  if (argumentos.ancho != 0) oem = oem.left(std::max<qint64>(0, std::llround(argumentos.ancho)));
  const qint64 columna = std::clamp<qint64>(std::llround(argumentos.x), 0, pagina.Columnas());
  destino.EnviarCrudo(QByteArray(columna, ' ') + oem.left(pagina.Columnas()));
  destino.EnviarCrudo(QByteArray(1, '\r'));
  geometria.filaTexto = fila;
}

void DibujarTexto(DestinoComandos& destino, LienzoImpreso& lienzo, const ArgumentosTexto& argumentos, const QString& texto) {
  const GeometriaImpreso& geometria = destino.Ejecucion().geometria;
  QPainter& pintor = *lienzo.pintor;
  const QFontMetrics medidas(lienzo.fuente, pintor.device());
  const QString relleno = Rellenar(texto, argumentos, CajaTexto(destino, argumentos.ancho), medidas);
  const int x = destino.PixelesX(geometria.CoordenadaX(argumentos.x));
  const int y = destino.PixelesY(geometria.CoordenadaY(argumentos.y));
  pintor.save();
  pintor.setFont(lienzo.fuente);
  pintor.setPen(lienzo.colorFuente);
  if (argumentos.ancho != 0) {
    const int derecha = destino.PixelesX(geometria.CoordenadaX(argumentos.x) + argumentos.ancho);
    pintor.setClipRect(QRect(QPoint(x, y), QPoint(derecha - 1, y + medidas.height() - 1)));
  }
  pintor.drawText(QRect(x, y, 1'000'000, 1'000'000), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, relleno);
  pintor.restore();
}

}  // namespace

QFont FuenteMedida(DestinoComandos& destino) {
  LienzoImpreso* lienzo = destino.Lienzo();
  return lienzo && lienzo->pintor ? lienzo->fuente : FuenteModoTexto();
}

QPaintDevice* DispositivoMedida(DestinoComandos& destino) {
  LienzoImpreso* lienzo = destino.Lienzo();
  return lienzo && lienzo->pintor ? lienzo->pintor->device() : nullptr;
}

ArgumentosTexto LeerArgumentosTexto(const LineaInstruccion& linea, int argumentoTexto, int argumentoAlineacion) {
  return {NumeroImpreso(linea.Argumento(1)), NumeroImpreso(linea.Argumento(2)), NumeroImpreso(linea.Argumento(3)),
          linea.Argumento(argumentoTexto), linea.Argumento(argumentoAlineacion)};
}

void ImprimirTexto(DestinoComandos& destino, const ArgumentosTexto& argumentos) {
  EjecucionImpreso& ejecucion = destino.Ejecucion();
  if (EsFilaContinuacion(ejecucion)) return;
  const bool crudo = ejecucion.geometria.modoTexto && !destino.Pantalla();
  LienzoImpreso* lienzo = destino.Lienzo();
  if (!crudo && (!lienzo || !lienzo->pintor)) return;

  LienzoImpreso sinLienzo{nullptr, FuenteModoTexto()};
  LienzoImpreso& destinoFuente = lienzo ? *lienzo : sinLienzo;
  const QFont guardada = destinoFuente.fuente;
  const QColor colorGuardado = destinoFuente.colorFuente;
  const TextoConMarcas marcado = SepararMarcas(argumentos.texto);
  AplicarMarcas(marcado.marcas, destinoFuente.fuente, destinoFuente.colorFuente);

  if (crudo) {
    const QFontMetrics medidas(destinoFuente.fuente);
    EnviarFilaTexto(destino, argumentos,
                    Rellenar(marcado.texto, argumentos, CajaTexto(destino, argumentos.ancho), medidas));
  } else {
    DibujarTexto(destino, *lienzo, argumentos, marcado.texto);
  }
  // The marks change colour, size and style only; they go back as they were.
  destinoFuente.colorFuente = colorGuardado;
  destinoFuente.fuente = guardada;
}

QString TextoEscrito(DestinoComandos& destino, QString texto) {
  const QString& libre = destino.Ejecucion().programa.separadorLibre;
  if (!libre.isEmpty()) texto.replace(libre, u"|"_qs);
  return texto;
}

void ComandoText(DestinoComandos& destino, const LineaInstruccion& linea) {
  ArgumentosTexto argumentos = LeerArgumentosTexto(linea);
  argumentos.texto = TextoEscrito(destino, argumentos.texto);
  ImprimirTexto(destino, argumentos);
}

void ComandoAsci(DestinoComandos& destino, const LineaInstruccion& linea) {
  QByteArray bytes;
  const QString codigos = linea.Argumento(1);
  for (const QStringView elemento : QStringView(codigos).tokenize(u',')) {
    if (elemento.isEmpty()) break;
    qint64 codigo = 0;
    if (TryStrToInt64(elemento.toString(), codigo) && codigo >= 0 && codigo <= 255) bytes.append(static_cast<char>(codigo));
  }
  if (!destino.Pantalla() && !bytes.isEmpty()) destino.EnviarCrudo(bytes);
}
