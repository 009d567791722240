#include "tests/printing/comandos/DestinoPrueba.h"

DestinoPrueba::DestinoPrueba() {
  entorno.ejecucion = &ejecucion;
  ejecucion.geometria.TamanoPaginaPantalla();
  imagen = QImage(ejecucion.geometria.anchoPagina, ejecucion.geometria.altoPagina, QImage::Format_RGB32);
  imagen.fill(Qt::white);
  const int puntosMetro = RedondearPixel(1000.0 * ejecucion.geometria.anchoPagina / ejecucion.geometria.anchoPapel);
  imagen.setDotsPerMeterX(puntosMetro);
  imagen.setDotsPerMeterY(puntosMetro);
  pintor.begin(&imagen);
  lienzo.pintor = &pintor;
}

void DestinoPrueba::Ejecutar(const QString& linea) {
  ejecucion.EjecutarInstruccion(linea);
}

void DestinoPrueba::ModoTextoImpresora(qint64 filaInicial) {
  conLienzo = false;
  ejecucion.destino = DestinoSalida::Impresora;
  GeometriaImpreso& geometria = ejecucion.geometria;
  geometria.modoTexto = true;
  geometria.anchoFisicoImpresora = RedondearPixel(geometria.anchoPapel * 600 / 25.4);
  geometria.altoFisicoImpresora = RedondearPixel(geometria.altoPapel * 600 / 25.4);
  geometria.filaTexto = filaInicial;
}

// The raster painter draws straight into the image: it is read as it stands.
const QImage& DestinoPrueba::Imagen() { return imagen; }

QRect DestinoPrueba::Tinta() {
  const QImage& pagina = Imagen();
  QRect caja;
  for (int y = 0; y < pagina.height(); ++y)
    for (int x = 0; x < pagina.width(); ++x)
      if (pagina.pixel(x, y) != qRgb(255, 255, 255)) caja |= QRect(x, y, 1, 1);
  return caja;
}
