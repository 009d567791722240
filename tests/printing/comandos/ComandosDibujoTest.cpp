#include "tests/printing/comandos/DestinoPrueba.h"

#include <gtest/gtest.h>

namespace {

struct Sonda {
  double x;  // millimetres of the paper, margins included
  double y;
  QRgb color;
};

struct CasoDibujo {
  const char* lineas;  // "\n" between them
  double margen;       // left and top
  std::vector<Sonda> sondas;
};

class Dibujo : public testing::TestWithParam<CasoDibujo> {};

const QRgb Blanco = qRgb(255, 255, 255);
const QRgb Negro = qRgb(0, 0, 0);

TEST_P(Dibujo, PixelsWhereTheCommandsDraw) {
  DestinoPrueba destino;
  destino.ejecucion.geometria.ajustes.margenIzquierdo = GetParam().margen;
  destino.ejecucion.geometria.ajustes.margenSuperior = GetParam().margen;
  for (const QString& linea : QString::fromUtf8(GetParam().lineas).split(u'\n')) destino.Ejecutar(linea);
  const QImage& pagina = destino.Imagen();
  for (const Sonda& sonda : GetParam().sondas) {
    const int x = destino.ejecucion.geometria.PixelesPaginaX(sonda.x);
    const int y = destino.ejecucion.geometria.PixelesPaginaY(sonda.y);
    EXPECT_EQ(QColor(pagina.pixel(x, y)), QColor(sonda.color)) << GetParam().lineas << " at " << sonda.x << "," << sonda.y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Dibujo,
    testing::Values(
        CasoDibujo{"Rect=10;10;200;50", 0, {{10, 30, Negro}, {100, 10, Negro}, {100, 30, Blanco}, {5, 30, Blanco}}},
        CasoDibujo{"Rect=10;10;200;50;2;Rojo;Puntos;Gris Claro;Solido",
                   0,
                   {{100, 30, qRgb(192, 192, 192)}, {150, 60, Blanco}}},
        CasoDibujo{"Rect=10;10;200;50;0;;Ninguno;Amarillo;Solido", 0, {{10, 30, qRgb(255, 255, 0)}, {100, 30, qRgb(255, 255, 0)}}},
        // The corner ellipse takes in the margins: 25 mm wide, so the corner itself stays white.
        CasoDibujo{"Rect=0;0;100;60;1;;;;;5;5", 20, {{20.5, 20.5, Blanco}, {60, 20, Negro}}},
        CasoDibujo{"Rect=0;0;100;60", 20, {{20, 20, Negro}, {60, 20, Negro}}},
        CasoDibujo{"Line=10;100;200;100;1;Azul", 0, {{100, 100, qRgb(0, 0, 255)}, {100, 101, Blanco}}},
        CasoDibujo{"Line=10;100;200;100;1;255", 0, {{100, 100, qRgb(255, 0, 0)}}},
        // The pen stays for what follows only through its own command.
        CasoDibujo{"Line=10;100;200;100;1;Azul\nLine=10;120;200;120", 0, {{100, 120, Negro}}}));

TEST(Dibujo, DottedOutlineLeavesGaps) {
  DestinoPrueba destino;
  destino.Ejecutar(u"Rect=10;10;200;50;2;Rojo;Puntos"_qs);
  const QImage& pagina = destino.Imagen();
  const int y = destino.ejecucion.geometria.PixelesPaginaY(10);
  int rojos = 0;
  int huecos = 0;
  for (int x = destino.PixelesX(20); x < destino.PixelesX(100); ++x)
    (pagina.pixel(x, y) == qRgb(255, 0, 0) ? rojos : huecos) += 1;
  EXPECT_GT(rojos, 10);
  EXPECT_GT(huecos, 10);
}

struct CasoFuente {
  const char* linea;
  double compresionHorizontal;
  double compresionVertical;
  int puntos;
  bool negrita, cursiva, subrayado;
  QRgb color;
};

class Fuente : public testing::TestWithParam<CasoFuente> {};

TEST_P(Fuente, SetsTheCanvasFont) {
  DestinoPrueba destino;
  destino.ejecucion.geometria.ajustes.compresionHorizontal = GetParam().compresionHorizontal;
  destino.ejecucion.geometria.ajustes.compresionVertical = GetParam().compresionVertical;
  destino.lienzo.fuente.setItalic(true);
  destino.Ejecutar(QString::fromUtf8(GetParam().linea));
  const QFont& fuente = destino.lienzo.fuente;
  EXPECT_EQ(fuente.family(), u"Arial"_qs);
  EXPECT_EQ(fuente.pointSize(), GetParam().puntos);
  EXPECT_EQ(fuente.bold(), GetParam().negrita);
  EXPECT_EQ(fuente.italic(), GetParam().cursiva);
  EXPECT_EQ(fuente.underline(), GetParam().subrayado);
  EXPECT_EQ(destino.lienzo.colorFuente, QColor(GetParam().color));
}

INSTANTIATE_TEST_SUITE_P(Casos, Fuente,
                         testing::Values(CasoFuente{"Font=Arial;10;Negro;Negrita,Subrayado", 1, 1, 10, true, false, true, Negro},
                                         CasoFuente{"Font=Arial;10;Negro;Negrita,Subrayado", 0.9, 1, 9, true, false, true, Negro},
                                         CasoFuente{"Font=Arial;10;Rojo;fsItalic", 0.9, 1.5, 15, false, true, false, qRgb(255, 0, 0)},
                                         CasoFuente{"Font=Arial;10;;Cursiva", 1, 1, 10, false, false, false, Negro},
                                         // Past a thousand points a size is no number: the smallest face.
                                         CasoFuente{"Font=Arial;1000;Negro;", 1, 1, 1000, false, false, false, Negro},
                                         CasoFuente{"Font=Arial;1001;Negro;", 1, 1, 1, false, false, false, Negro}));

TEST(Fuente, BoldTextIsWiderThanPlain) {
  DestinoPrueba llana;
  llana.Ejecutar(u"Font=Arial;14;Negro;"_qs);
  llana.Ejecutar(u"Text=10;10;0;iiiiiiiiii"_qs);
  DestinoPrueba negrita;
  negrita.Ejecutar(u"Font=Arial;14;Negro;Negrita"_qs);
  negrita.Ejecutar(u"Text=10;10;0;iiiiiiiiii"_qs);
  EXPECT_GT(negrita.Tinta().width(), llana.Tinta().width());
}

TEST(Fuente, TextModeDispatcherIgnoresIt) {
  DestinoPrueba destino;
  destino.ejecucion.geometria.modoTexto = true;
  destino.Ejecutar(u"Font=Arial;20;Rojo;Negrita"_qs);
  EXPECT_EQ(destino.lienzo.fuente.pointSize(), 8);
}

}  // namespace
