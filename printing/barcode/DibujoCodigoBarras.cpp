#include "printing/barcode/DibujoCodigoBarras.h"

#include "printing/barcode/Entrelazado2de5.h"
#include "printing/barcode/Trazador.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The digit limit of the POSTNET types, under which the check digit is added.
int LimitePostNet(TBarCodeType tipo, const QString& texto) {
  switch (tipo) {
    case TBarCodeType::PostnetZip: return 5;
    case TBarCodeType::PostNetZipPlus4: return 9;
    case TBarCodeType::Postnet11: return 11;
    default: return texto.size() < 6 ? 5 : 11;
  }
}

// A font whose cell (ascent and descent) is about this many pixels high.
QFont FuenteDeAltura(int alto) {
  QFont fuente(QString::fromLatin1(kFuenteDigitos));
  fuente.setPixelSize(100);
  const QFontMetricsF metricas(fuente);
  const double celda = metricas.ascent() + metricas.descent();
  fuente.setPixelSize(std::max(1, int(std::lround(alto * 100 / (celda > 0 ? celda : 100)))));
  return fuente;
}

}  // namespace

DibujoCodigoBarras DisponerCodigoBarras(const ParametrosCodigoBarras& p) {
  DibujoCodigoBarras dibujo;
  switch (p.tipo) {
    case TBarCodeType::Code39: DisponerCode39(p, dibujo); break;
    case TBarCodeType::Interleaved2Of5: DisponerEntrelazado(p, TextoEntrelazado(p.texto), dibujo); break;
    case TBarCodeType::ITF14:
      if (const auto digitos = TextoItf14(p.texto)) DisponerEntrelazado(p, TextoEntrelazado(*digitos), dibujo);
      break;
    case TBarCodeType::Code128:
    case TBarCodeType::EAN128: DisponerCode128(p, dibujo); break;
    case TBarCodeType::PostNet:
    case TBarCodeType::PostnetZip:
    case TBarCodeType::PostNetZipPlus4:
    case TBarCodeType::Postnet11: DisponerPostNet(p, LimitePostNet(p.tipo, p.texto), dibujo); break;
    case TBarCodeType::EAN:
    case TBarCodeType::EAN8:
    case TBarCodeType::EAN13: DisponerEan(p, dibujo); break;
    case TBarCodeType::FIMA: DisponerFim(p, u'A', dibujo); break;
    case TBarCodeType::FIMB: DisponerFim(p, u'B', dibujo); break;
    case TBarCodeType::FIMC: DisponerFim(p, u'C', dibujo); break;
  }
  return dibujo;
}

void PintarCodigoBarras(QPainter& pintor, const DibujoCodigoBarras& dibujo, const QColor& colorBarras,
                        const QColor& colorFondo) {
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing, false);
  for (const TrazoCodigo& trazo : dibujo.trazos) {
    pintor.fillRect(trazo.rect, trazo.clase == TrazoCodigo::Barra ? colorBarras : colorFondo);
    if (trazo.clase != TrazoCodigo::Texto) continue;
    pintor.setFont(FuenteDeAltura(trazo.altoTexto));
    pintor.setPen(colorBarras);
    pintor.drawText(trazo.rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, trazo.texto);
  }
  pintor.restore();
}
