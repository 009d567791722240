#include "printing/formlang/GeometriaImpreso.h"
#include "printing/formlang/PrepararPrograma.h"

#include <gtest/gtest.h>

namespace {

GeometriaImpreso Geometria(const char* sistema, const char* formato = "A4") {
  GeometriaImpreso geometria;
  const DimensionesPapel papel = FormatoPapel(QString::fromUtf8(formato));
  geometria.anchoPapel = papel.ancho;
  geometria.altoPapel = papel.alto;
  geometria.TamanoPaginaPantalla();
  geometria.ajustes = PrepararPrograma(u"[SISTEMA]\r\n"_qs + QString::fromUtf8(sistema)).ajustes;
  return geometria;
}

}  // namespace

TEST(GeometriaImpreso, PaperFormats) {
  struct Caso {
    const char* formato;
    int ancho, alto;
  };
  const Caso casos[] = {
      {"A4", 210, 297},        {"A4-Apaisado", 297, 210}, {"A5", 149, 210},     {"A5-Apaisado", 210, 149},
      {"100x50", 100, 50},     {"100", 210, 297},         {"Sin Formato", 210, 297}, {"", 210, 297},
      {"0x50", 210, 297},      {"100x0", 210, 297},       {"100X50", 210, 297}, {"a4", 210, 297},
      {"100000x1", 100000, 1}, {"100001x1", 210, 297},    {"99999999999999999999x5", 210, 297},
      {" 100x50", 210, 297},   {"-100x50", 210, 297},
  };
  for (const Caso& caso : casos) {
    const DimensionesPapel papel = FormatoPapel(QString::fromUtf8(caso.formato));
    EXPECT_EQ(papel.ancho, caso.ancho) << caso.formato;
    EXPECT_EQ(papel.alto, caso.alto) << caso.formato;
  }
}

TEST(GeometriaImpreso, PageSizesOfThePreviewAndOfPdf) {
  struct Caso {
    const char* formato;
    int anchoPantalla, altoPantalla, anchoPDF, altoPDF;
  };
  const Caso casos[] = {{"A4", 800, 1131, 1240, 1754}, {"A5", 568, 801, 880, 1240}, {"A4-Apaisado", 1131, 800, 1754, 1240}};
  for (const Caso& caso : casos) {
    GeometriaImpreso geometria = Geometria("", caso.formato);
    EXPECT_EQ(geometria.anchoPagina, caso.anchoPantalla) << caso.formato;
    EXPECT_EQ(geometria.altoPagina, caso.altoPantalla) << caso.formato;
    geometria.TamanoPaginaPDF();
    EXPECT_EQ(geometria.anchoPagina, caso.anchoPDF) << caso.formato;
    EXPECT_EQ(geometria.altoPagina, caso.altoPDF) << caso.formato;
  }
  EXPECT_EQ(Geometria("").MilimetrosAPixeles(25.4), 150);
}

TEST(GeometriaImpreso, LabelSlotsMoveAcrossThenDown) {
  GeometriaImpreso geometria = Geometria("FormatoEtiqueta=3;8;70;37");
  struct Caso {
    qint64 posicion;
    double x, y;
  };
  const Caso casos[] = {{1, 10, 20}, {2, 80, 20}, {3, 150, 20}, {4, 10, 57}, {5, 80, 57}, {6, 150, 57}, {24, 150, 279}};
  for (const Caso& caso : casos) {
    geometria.posicionEtiqueta = caso.posicion;
    EXPECT_DOUBLE_EQ(geometria.CoordenadaX(10), caso.x) << caso.posicion;
    EXPECT_DOUBLE_EQ(geometria.CoordenadaY(20), caso.y) << caso.posicion;
  }
  // One label across or down: the pitch of that way counts for nothing.
  GeometriaImpreso columna = Geometria("FormatoEtiqueta=1;8;70;37");
  columna.posicionEtiqueta = 3;
  EXPECT_DOUBLE_EQ(columna.CoordenadaX(10), 10);
  EXPECT_DOUBLE_EQ(columna.CoordenadaY(0), 74);
}

TEST(GeometriaImpreso, CompressionScalesCoordinatesButNotMarginsOrPitches) {
  const GeometriaImpreso sin = Geometria("Margenes=21;29,7");
  const GeometriaImpreso con = Geometria("Margenes=21;29,7\r\nCompresion=0,5;0,5");
  EXPECT_EQ(con.PixelesPaginaX(con.CoordenadaX(0)), sin.PixelesPaginaX(sin.CoordenadaX(0)));
  EXPECT_EQ(con.PixelesPaginaY(con.CoordenadaY(0)), sin.PixelesPaginaY(sin.CoordenadaY(0)));
  EXPECT_EQ(con.PixelesPaginaX(con.CoordenadaX(105)) - con.PixelesPaginaX(con.CoordenadaX(0)), 200);
  EXPECT_EQ(sin.PixelesPaginaX(sin.CoordenadaX(105)) - sin.PixelesPaginaX(sin.CoordenadaX(0)), 400);

  GeometriaImpreso etiquetas = Geometria("FormatoEtiqueta=2;1;100;0\r\nCompresion=0,5;1");
  etiquetas.posicionEtiqueta = 2;
  EXPECT_EQ(etiquetas.PixelesPaginaX(etiquetas.CoordenadaX(0)), RedondearPixel(100 * 800 / 210.0));
}

TEST(GeometriaImpreso, TheLinesAreaAndTheFeetOfAContinuousTextForm) {
  GeometriaImpreso geometria = Geometria("Margenes=0;3\r\nInicioLineas=100\r\nAlturaLinea=5");
  geometria.enSeccionLineas = true;
  geometria.lineaActual = 3;
  EXPECT_DOUBLE_EQ(geometria.CoordenadaY(0), 113);
  geometria.enSeccionLineas = false;
  EXPECT_DOUBLE_EQ(geometria.CoordenadaY(0), 3);

  GeometriaImpreso texto = Geometria("FinLineas=9999");
  texto.modoTexto = true;
  texto.enSeccionPie = true;
  texto.filaTexto = 40;
  EXPECT_DOUBLE_EQ(texto.CoordenadaY(2), 42);
  texto.modoTexto = false;
  EXPECT_DOUBLE_EQ(texto.CoordenadaY(2), 2);
}

TEST(GeometriaImpreso, PixelsOfPageAndPrinterInBothModes) {
  GeometriaImpreso geometria = Geometria("");
  geometria.anchoFisicoImpresora = 4960;  // A4 at 600 dpi
  geometria.altoFisicoImpresora = 7016;
  struct Caso {
    bool texto;
    double v;
    int paginaX, paginaY, impresoraX, impresoraY;
  };
  const Caso casos[] = {
      {false, 105, 400, 400, 2480, 2480},
      {false, 148.5, 566, 566, 3507, 3508},
      {false, 0, 0, 0, 0, 0},
      {true, 10, 97, 161, 600, 10},  // 10 columns are an inch, 10 rows are 10 rows
      {true, 2.4, 23, 39, 144, 2},
  };
  for (const Caso& caso : casos) {
    geometria.modoTexto = caso.texto;
    EXPECT_EQ(geometria.PixelesPaginaX(caso.v), caso.paginaX) << caso.v;
    EXPECT_EQ(geometria.PixelesPaginaY(caso.v), caso.paginaY) << caso.v;
    EXPECT_EQ(geometria.PixelesImpresoraX(caso.v), caso.impresoraX) << caso.v;
    EXPECT_EQ(geometria.PixelesImpresoraY(caso.v), caso.impresoraY) << caso.v;
  }
}

TEST(GeometriaImpreso, PixelsStayWholeNumbersAtTheExtremes) {
  GeometriaImpreso geometria = Geometria("FormatoEtiqueta=100000;100000;100000;100000\r\nCompresion=0,00001;100000");
  geometria.posicionEtiqueta = Q_INT64_C(9999999999);
  EXPECT_EQ(geometria.PixelesPaginaX(geometria.CoordenadaX(100000)), 1'000'000'000);
  EXPECT_EQ(RedondearPixel(-1e300), -1'000'000'000);
  EXPECT_EQ(RedondearPixel(std::nan("")), 0);
  EXPECT_EQ(RedondearPixel(2.5), 2);
  EXPECT_EQ(RedondearPixel(3.5), 4);
}

TEST(GeometriaImpreso, OemTextAndRepeatedCharacters) {
  struct Caso {
    const char* texto;
    QByteArray oem;
  };
  const Caso casos[] = {
      {"Año Ñ", QByteArray("A\xa4o \xa5")},
      {"ÁÉÍÓÚáéíóú", QByteArray("\xb5\x90\xd6\xe0\xe9\xa0\x82\xa1\xa2\xa3")},
      {"·ºª¿¡", QByteArray("\xfa\xa7\xa6\xa8\xad")},
      {"€“", QByteArray("??")},
      {"\xf0\x9f\x98\x80", QByteArray("?")},
      {"", QByteArray()},
  };
  for (const Caso& caso : casos) EXPECT_EQ(TextoAOem(QString::fromUtf8(caso.texto)), caso.oem) << caso.texto;
  EXPECT_EQ(TextoAOem(QString(QChar(0))), QByteArray(1, '\0'));

  EXPECT_EQ(RepetirCaracter(u'-', 3), u"---"_qs);
  EXPECT_EQ(RepetirCaracter(u'-', 0), QString());
  EXPECT_EQ(RepetirCaracter(u'-', -4), QString());
  EXPECT_EQ(RepetirCaracter(u' ', Q_INT64_C(10000000000)).size(), 100000);
}
