#include "printing/comandos/ComandoCodigoBarras.h"

#include "printing/barcode/Barcd4.h"
#include "printing/comandos/ComandoGrafico.h"
#include "printing/comandos/DestinoComandos.h"
#include "printing/comandos/ValoresImpreso.h"
#include "printing/formlang/NumerosImpreso.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

// A turned barcode is built in memory; beyond this many pixels it is not drawn.
constexpr qint64 MayorImagenGirada = 64LL * 1024 * 1024;

TBarCodeType TipoDePalabra(const QString& palabra) {
  static const QHash<QString, TBarCodeType> tipos{
      {u"EAN8"_qs, TBarCodeType::EAN8},     {u"EAN13"_qs, TBarCodeType::EAN13},
      {u"EAN128"_qs, TBarCodeType::EAN128}, {u"Code39"_qs, TBarCodeType::Code39},
      {u"Code128"_qs, TBarCodeType::Code128}, {u"Interleaved2OF5"_qs, TBarCodeType::Interleaved2Of5},
  };
  return tipos.value(palabra, TBarCodeType::EAN13);
}

int ResolucionPantalla() {
  const QScreen* pantalla = QGuiApplication::primaryScreen();
  return pantalla ? int(std::lround(pantalla->logicalDotsPerInchX())) : 96;
}

// The resolution a barcode is drawn at on the destination: the screen's for a
// preview page, the PDF's for a PDF page; a printer gives its own.
int ResolucionCodigo(DestinoComandos& destino) {
  const GeometriaImpreso& g = destino.Ejecucion().geometria;
  if (destino.Pantalla() && g.anchoPagina == g.MilimetrosAPixeles(g.anchoPapel)) return int(ResolucionPDF);
  return 0;
}

}  // namespace

QImage GirarCodigoBarras(const QImage& dibujo, int ancho, int alto, const QString& giro) {
  QImage girada(std::max(1, ancho), std::max(1, alto), QImage::Format_RGB32);
  girada.fill(Qt::white);
  const bool mas90 = giro == u"Girar+90";
  const bool menos90 = giro == u"Girar-90";
  const bool media = giro == u"Girar180";
  if (!mas90 && !menos90 && !media) return girada;
  // The control's right and bottom edges on the work picture, its corner at 0, 0.
  const int derecha = mas90 || menos90 ? alto : ancho;
  const int abajo = mas90 || menos90 ? ancho : alto;
  const QRect dentro = dibujo.rect();
  for (int y = 0; y < alto; ++y) {
    auto* fila = reinterpret_cast<QRgb*>(girada.scanLine(y));
    for (int x = 0; x < ancho; ++x) {
      const QPoint origen = mas90 ? QPoint(derecha - 1 - y, x) : menos90 ? QPoint(y, abajo - 1 - x)
                                                                         : QPoint(derecha - 1 - x, abajo - 1 - y);
      if (dentro.contains(origen)) fila[x] = dibujo.pixel(origen);
    }
  }
  return girada;
}

void ComandoCBar(DestinoComandos& destino, const LineaInstruccion& linea) {
  LienzoImpreso* lienzo = destino.Lienzo();
  if (!lienzo || !lienzo->pintor) return;
  const EsquinasGrafico esquinas{NumeroImpreso(linea.Argumento(1)), NumeroImpreso(linea.Argumento(2)),
                                 NumeroImpreso(linea.Argumento(3)), NumeroImpreso(linea.Argumento(4))};
  QString texto = linea.Argumento(5);
  const QString palabra = linea.Argumento(6);
  double aumento = 1;
  if (!LeerNumeroImpreso(linea.Argumento(7), aumento)) aumento = 1;
  const QString giro = linea.Argumento(8);
  if (texto.startsWith(u"Camp:"_qs)) {
    texto.remove(0, 5);
    if (const std::optional<QVariant> valor = destino.CampoFila(texto)) texto = TextoCampo(*valor);
  }

  TPrintBarcode propio;
  TPrintBarcode& codigo = destino.CodigoBarras() ? *destino.CodigoBarras() : propio;
  codigo.SetAutoPosition(false);
  codigo.SetAutoSizing(false);
  codigo.SetText(texto);
  codigo.SetBarCodeType(TipoDePalabra(palabra));
  if (palabra == u"UPCA") {
    codigo.SetText(u'0' + texto);
    codigo.SetAutoSizing(true);
  }
  codigo.SetMagnification(aumento);

  const GeometriaImpreso& g = destino.Ejecucion().geometria;
  const int x1 = destino.PixelesX(g.CoordenadaX(esquinas.x1));
  const int y1 = destino.PixelesY(g.CoordenadaY(esquinas.y1));
  // A box given the wrong way round has no room.
  const int ancho = std::max(0, destino.PixelesX(g.CoordenadaX(esquinas.x2)) - x1);
  const int alto = std::max(0, destino.PixelesY(g.CoordenadaY(esquinas.y2)) - y1);
  codigo.setGeometry(x1, y1, ancho, alto);
  if (giro.isEmpty()) {
    codigo.DrawOn(*lienzo->pintor, ResolucionCodigo(destino));
    return;
  }
  if (PruebaDiseno()) return;

  // Turned: drawn upright at screen resolution on a work picture, turned, placed as a picture.
  QPaintDevice* dispositivo = lienzo->pintor->device();
  const double razon = destino.Pantalla() || !dispositivo ? 1.0 : double(ResolucionPantalla()) / dispositivo->logicalDpiX();
  const auto escalar = [razon](int v) { return int(std::lround(v * razon)); };
  const int w = escalar(ancho);
  const int h = escalar(alto);
  if (qint64(std::max(1, w)) * std::max(1, h) > MayorImagenGirada) return;
  const bool cuarto = giro == u"Girar+90" || giro == u"Girar-90";
  const QSize pagina = dispositivo ? QSize(escalar(dispositivo->width()), escalar(dispositivo->height())) : QSize();
  QImage trabajo(pagina.boundedTo(QSize(std::max(w, h), std::max(w, h))).expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  trabajo.fill(Qt::white);
  codigo.setGeometry(0, 0, cuarto ? h : w, cuarto ? w : h);
  {
    QPainter pintor(&trabajo);
    codigo.DrawOn(pintor, 0);
  }
  DibujarGrafico(destino, esquinas, GirarCodigoBarras(trabajo, w, h, giro));
}
