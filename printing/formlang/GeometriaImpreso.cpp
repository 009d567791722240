#include "printing/formlang/GeometriaImpreso.h"

#include "printing/formlang/NumerosImpreso.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace {

constexpr double MilimetrosColumna = 2.54;        // 10 columns an inch
constexpr double MilimetrosFilaTexto = 25.4 / 6;  // 6 rows an inch
constexpr double PulgadasMilimetro = 0.0393700787;

qint64 ColumnaEtiqueta(qint64 posicion, qint64 porFila) {
  if (posicion < porFila) return posicion;
  const qint64 resto = posicion % porFila;
  return resto == 0 ? porFila : resto;
}

qint64 FilaEtiqueta(qint64 posicion, qint64 porFila) {
  return posicion / porFila + (posicion % porFila > 0 ? 1 : 0);
}

}  // namespace

DimensionesPapel FormatoPapel(const QString& formato) {
  if (formato == u"A4-Apaisado") return {297, 210};
  if (formato == u"A5") return {149, 210};
  if (formato == u"A5-Apaisado") return {210, 149};
  static const QRegularExpression medidas(u"^([0-9]+)x([0-9]+)$"_qs);
  const QRegularExpressionMatch encontrado = medidas.match(formato);
  if (encontrado.hasMatch()) {
    qint64 ancho = 0;
    qint64 alto = 0;
    if (LeerEnteroImpreso(encontrado.captured(1), ancho) && LeerEnteroImpreso(encontrado.captured(2), alto) &&
        ancho > 0 && alto > 0)
      return {static_cast<int>(ancho), static_cast<int>(alto)};
  }
  return {};
}

int RedondearPixel(double valor) {
  constexpr double limite = 1'000'000'000;
  if (std::isnan(valor)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(valor, -limite, limite)));
}

double GeometriaImpreso::CoordenadaX(double x) const {
  double resultado = ajustes.margenIzquierdo / ajustes.compresionHorizontal + x;
  if (ajustes.etiquetasPorFila == 1) return resultado;
  const qint64 columna = ColumnaEtiqueta(posicionEtiqueta, ajustes.etiquetasPorFila);
  return resultado + double(columna - 1) * ajustes.anchoEtiqueta / ajustes.compresionHorizontal;
}

double GeometriaImpreso::CoordenadaY(double y) const {
  const double base = ajustes.margenSuperior / ajustes.compresionVertical;
  double resultado = base + y;
  if (enSeccionLineas)
    resultado += double(ajustes.inicioLineas) + double(lineaActual - 1) * double(ajustes.alturaLinea);
  else if (enSeccionPie && modoTexto && ajustes.finLineas == FinLineasContinuo)
    resultado += double(filaTexto);
  if (ajustes.filasEtiquetas == 1) return resultado;
  const qint64 fila = FilaEtiqueta(posicionEtiqueta, ajustes.etiquetasPorFila);
  return resultado + double(fila - 1) * ajustes.altoEtiqueta / ajustes.compresionVertical;
}

int GeometriaImpreso::PixelesPaginaX(double v) const {
  if (modoTexto) return RedondearPixel(double(anchoPagina) / anchoPapel * v * MilimetrosColumna);
  return RedondearPixel(v * ajustes.compresionHorizontal * anchoPagina / anchoPapel);
}

int GeometriaImpreso::PixelesPaginaY(double v) const {
  if (modoTexto) return RedondearPixel(double(altoPagina) / altoPapel * v * MilimetrosFilaTexto);
  return RedondearPixel(v * ajustes.compresionVertical * altoPagina / altoPapel);
}

int GeometriaImpreso::PixelesImpresoraX(double v) const {
  if (modoTexto) return RedondearPixel(double(anchoFisicoImpresora) / anchoPapel * v * MilimetrosColumna);
  return RedondearPixel(v * ajustes.compresionHorizontal * anchoFisicoImpresora / anchoPapel);
}

int GeometriaImpreso::PixelesImpresoraY(double v) const {
  // Text rows stay rows: the raw text output moves the paper by them.
  if (modoTexto) return RedondearPixel(v);
  return RedondearPixel(v * ajustes.compresionVertical * altoFisicoImpresora / altoPapel);
}

int GeometriaImpreso::MilimetrosAPixeles(double milimetros) const {
  return RedondearPixel(resolucionSalida * (milimetros * PulgadasMilimetro));
}

void GeometriaImpreso::TamanoPaginaPantalla() {
  anchoPagina = RedondearPixel(anchoPapel * 80.0 / 21.0);
  altoPagina = RedondearPixel(double(altoPapel) / anchoPapel * anchoPagina);
}

void GeometriaImpreso::TamanoPaginaPDF() {
  resolucionSalida = ResolucionPDF;
  anchoPagina = MilimetrosAPixeles(anchoPapel);
  altoPagina = MilimetrosAPixeles(altoPapel);
}

QByteArray TextoAOem(const QString& texto) {
  static const QHash<char16_t, char> tabla = [] {
    QHash<char16_t, char> bytes;
    QStringDecoder ibm850("IBM850");
    for (int code = 0; code < 256; ++code) {
      const QString caracter = ibm850.decode(QByteArray(1, static_cast<char>(code)));
      if (caracter.size() == 1) bytes.insert(caracter[0].unicode(), static_cast<char>(code));
    }
    return bytes;
  }();
  QByteArray resultado;
  resultado.reserve(texto.size());
  for (const QChar caracter : texto) {
    if (caracter.isLowSurrogate()) continue;  // one "?" for a character beyond the first plane
    resultado.append(tabla.value(caracter.unicode(), '?'));
  }
  return resultado;
}

QString RepetirCaracter(QChar caracter, qint64 n) {
  return QString(static_cast<qsizetype>(std::clamp<qint64>(n, 0, qint64(MayorNumeroImpreso))), caracter);
}
