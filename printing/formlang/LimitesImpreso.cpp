#include "printing/formlang/LimitesImpreso.h"

#include "printing/formlang/MarcasEstilo.h"
#include "printing/formlang/NumerosImpreso.h"

#include <QSet>

#include <cmath>

namespace {

constexpr double MilimetrosColumna = 2.54;
constexpr double MilimetrosFila = 25.4 / 6;
constexpr double PuntosMilimetro = 72 / 25.4;

// A readable number outside [menor, mayor]; an unreadable one is no fault.
bool Fuera(const LineaInstruccion& linea, int n, double menor, double mayor) {
  double valor = 0;
  return LeerNumeroImpreso(linea.Argumento(n), valor) && (valor < menor || valor > mayor);
}

bool FueraEntero(const LineaInstruccion& linea, int n, qint64 menor, qint64 mayor) {
  qint64 valor = 0;
  return LeerEnteroImpreso(linea.Argumento(n), valor) && (valor < menor || valor > mayor);
}

double NumeroO(const LineaInstruccion& linea, int n, double siNo) {
  double valor = 0;
  return LeerNumeroImpreso(linea.Argumento(n), valor) ? valor : siNo;
}

// The labels of one line: their count and pitch fit the page.
bool EtiquetasFuera(const LineaInstruccion& linea, const PaginaImpreso& pagina) {
  const double columnas = pagina.Columnas();
  const double filas = pagina.Filas();
  if (FueraEntero(linea, 1, 1, qint64(columnas)) || FueraEntero(linea, 2, 1, qint64(filas))) return true;
  if (Fuera(linea, 3, 0, columnas) || Fuera(linea, 4, 0, filas)) return true;
  const double ultimaColumna = (NumeroO(linea, 1, 1) - 1) * NumeroO(linea, 3, 0);
  const double ultimaFila = (NumeroO(linea, 2, 1) - 1) * NumeroO(linea, 4, 0);
  return ultimaColumna > columnas || ultimaFila > filas;
}

bool FuenteFuera(const LineaInstruccion& linea, const AjustesImpreso& ajustes, const PaginaImpreso& pagina) {
  qint64 tamano = 0;
  if (!LeerEnteroImpreso(linea.Argumento(2), tamano)) return true;
  const double compresion = ajustes.compresionVertical != 1 ? ajustes.compresionVertical : ajustes.compresionHorizontal;
  const double puntos = double(tamano) * compresion;
  return tamano < 1 || tamano > MayorTamanoMarca || puntos > pagina.alto * PuntosMilimetro;
}

bool EsTexto(const QString& palabra) {
  static const QSet<QString> textos{u"Text"_qs, u"Vari"_qs, u"Camp"_qs, u"Expr"_qs, u"Conc"_qs, u"Suma"_qs};
  return textos.contains(palabra);
}

bool LineaFuera(const LineaInstruccion& linea, const AjustesImpreso& ajustes, const PaginaImpreso& pagina) {
  const QString& palabra = linea.palabra;
  const double columnas = pagina.Columnas();
  const double filas = pagina.Filas();
  if (palabra == u"Margenes") return Fuera(linea, 1, -columnas, columnas) || Fuera(linea, 2, -filas, filas);
  if (palabra == u"Compresion")
    return Fuera(linea, 1, MenorCompresion, MayorCompresion) || Fuera(linea, 2, MenorCompresion, MayorCompresion);
  if (palabra == u"FormatoEtiqueta") return EtiquetasFuera(linea, pagina);
  if (palabra == u"AlturaLinea" || palabra == u"InicioLineas") return FueraEntero(linea, 1, 0, qint64(filas));
  if (palabra == u"FinLineas") {
    qint64 fin = 0;
    return LeerEnteroImpreso(linea.Argumento(1), fin) && fin != FinLineasContinuo && (fin < 0 || fin > qint64(filas));
  }
  // A text printer has one face: the engine ignores the font there.
  if (palabra == u"Font") return !pagina.modoTexto && FuenteFuera(linea, ajustes, pagina);
  if (EsTexto(palabra)) {
    const double compresion = pagina.modoTexto ? 1 : ajustes.compresionHorizontal;
    double ancho = 0;
    return LeerNumeroImpreso(linea.Argumento(3), ancho) && std::fabs(ancho) * compresion > columnas;
  }
  return false;
}

}  // namespace

PaginaImpreso PaginaImpreso::De(const DimensionesPapel& papel, bool modoTexto) {
  if (!modoTexto) return {double(papel.ancho), double(papel.alto), false};
  return {papel.ancho / MilimetrosColumna, papel.alto / MilimetrosFila, true};
}

qint64 PaginaImpreso::Columnas() const { return qint64(std::ceil(ancho)); }

qint64 PaginaImpreso::Filas() const { return qint64(std::ceil(alto)); }

std::optional<QString> LineaFueraDePagina(const ProgramaImpreso& programa, const AjustesImpreso& ajustes,
                                          const PaginaImpreso& pagina) {
  for (const QStringList& seccion : programa.secciones)
    for (const QString& linea : seccion)
      if (LineaFuera(AnalizarLinea(linea, programa.separadorLibre), ajustes, pagina)) return linea;
  return std::nullopt;
}

QString AvisoFueraDePagina(const QString& linea) {
  return u"¡Valor fuera de los límites de la página en la instrucción del impreso!\r\n"_qs + linea;
}
