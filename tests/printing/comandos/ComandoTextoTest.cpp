#include "printing/comandos/ComandoTexto.h"
#include "tests/printing/comandos/DestinoPrueba.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

class Texto : public testing::Test {
 protected:
  Texto() { destino.lienzo.fuente = QFont(u"Arial"_qs, 12); }

  int X(double mm) { return destino.PixelesX(destino.ejecucion.geometria.CoordenadaX(mm)); }
  // The left of the ink of a text drawn with n blanks typed before it.
  int InicioConBlancos(long n) {
    DestinoPrueba prueba;
    prueba.lienzo.fuente = destino.lienzo.fuente;
    prueba.Ejecutar(u"Text=10;20;0;"_qs + QString(n, u' ') + u"Total"_qs);
    return prueba.Tinta().left();
  }

  DestinoPrueba destino;
};

TEST_F(Texto, AlignmentPadsWithBlanksMeasuredOnTheCanvas) {
  DestinoPrueba sola;
  sola.lienzo.fuente = destino.lienzo.fuente;
  sola.Ejecutar(u"Text=10;20;0;Total"_qs);
  const int izquierdaSola = sola.Tinta().left();
  ASSERT_GE(izquierdaSola, X(10));
  ASSERT_LE(izquierdaSola, X(10) + 3);

  const QFontMetrics medidas(destino.lienzo.fuente, &destino.imagen);
  const int caja = destino.PixelesX(50);
  const long relleno = std::lround(double(caja - medidas.horizontalAdvance(u"Total"_qs)) / medidas.horizontalAdvance(u' '));
  ASSERT_GT(relleno, 4);
  const struct {
    QString linea;
    long blancos;
  } casos[] = {
      {u"Text=10;20;0;Total;D"_qs, 0},        // no width, no alignment
      {u"Text=10;20;50;Total;C"_qs, relleno / 2},
      {u"Text=10;20;50;Total;D"_qs, relleno - 1},
      {u"Text=10;20;50;Total;I"_qs, 0},
  };
  for (const auto& caso : casos) {
    DestinoPrueba prueba;
    prueba.lienzo.fuente = destino.lienzo.fuente;
    prueba.Ejecutar(caso.linea);
    EXPECT_EQ(prueba.Tinta().left(), InicioConBlancos(caso.blancos)) << caso.linea.toStdString();
  }
}

TEST_F(Texto, WidthClipsAtTheBoxAndTheTextStartsAtItsCorner) {
  destino.Ejecutar(u"Text=10;20;5;WWWWWWWWWWWWWWWW;C"_qs);
  const QRect tinta = destino.Tinta();
  ASSERT_FALSE(tinta.isEmpty());
  EXPECT_LE(tinta.right(), X(15) - 1);
  EXPECT_GE(tinta.top(), destino.PixelesY(20));
  EXPECT_LE(tinta.left(), X(10) + 3);
}

TEST_F(Texto, MarkupColoursTheTextAndIsPutBackAfter) {
  destino.Ejecutar(u"Text=10;20;0;<R><N><20>Rojo"_qs);
  EXPECT_FALSE(destino.lienzo.fuente.bold());
  EXPECT_EQ(destino.lienzo.fuente.pointSize(), 12);
  EXPECT_EQ(destino.lienzo.colorFuente, QColor(Qt::black));
  destino.Ejecutar(u"Text=10;60;0;Negro"_qs);
  const QImage& pagina = destino.Imagen();
  int rojos = 0;
  int negros = 0;
  for (int y = 0; y < pagina.height(); ++y)
    for (int x = 0; x < pagina.width(); ++x) {
      const QRgb pixel = pagina.pixel(x, y);
      if (pixel == qRgb(255, 0, 0)) rojos += y < destino.PixelesY(60) ? 1 : 1000;
      if (pixel == qRgb(0, 0, 0)) negros += y >= destino.PixelesY(60) ? 1 : 1000;
    }
  EXPECT_GT(rojos, 0);
  EXPECT_LT(rojos, 1000);
  EXPECT_GT(negros, 0);
  EXPECT_LT(negros, 1000);
}

TEST_F(Texto, TypedBarPrintsAsBar) {
  destino.ejecucion.programa.separadorLibre = QString(QChar(1));
  destino.ModoTextoImpresora(0);
  destino.Ejecutar(u"Text=0;0;0;a"_qs + QChar(1) + u"b"_qs);
  EXPECT_EQ(destino.crudo, QByteArray("a|b\r"));
}

TEST_F(Texto, OnlyTheFieldCommandPrintsOnContinuationRows) {
  destino.entorno.documentos.push_back({{u"CodigoTemporal"_qs, 1}});
  destino.entorno.lineas[1].push_back({{u"CodigoTemporal"_qs, 1}, {u"Linea"_qs, 1}, {u"LineaMemo"_qs, 2}});
  destino.entorno.PrimerDocumento();
  destino.entorno.PrimeraLinea();
  destino.ejecucion.geometria.enSeccionLineas = true;
  for (const QString& linea : {u"Text=10;20;0;Total"_qs, u"Vari=10;20;0;NumeroPagina"_qs}) {
    destino.Ejecutar(linea);
    EXPECT_TRUE(destino.Tinta().isEmpty()) << linea.toStdString();
  }
  // What the field command hands over prints there.
  destino.Ejecucion().comandoActual = u"Camp"_qs;
  ImprimirTexto(destino, {10, 20, 0, u"Memo"_qs, QString()});
  EXPECT_FALSE(destino.Tinta().isEmpty());
}

struct CasoCrudo {
  qint64 filaInicial;
  const char* linea;
  QByteArray bytes;
};

class TextoCrudo : public testing::TestWithParam<CasoCrudo> {};

TEST_P(TextoCrudo, TextModeOnPaperSendsTheRawRow) {
  DestinoPrueba destino;
  destino.ModoTextoImpresora(GetParam().filaInicial);
  destino.Ejecutar(QString::fromUtf8(GetParam().linea));
  EXPECT_EQ(destino.crudo, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TextoCrudo,
    testing::Values(CasoCrudo{12, "Text=5;10;0;Ñandú", QByteArray("\x1bj$\x1bj$     \xa5" "and\xa3\r")},
                    CasoCrudo{10, "Text=0;12;0;A", QByteArray("\n\nA\r")},
                    CasoCrudo{3, "Text=2;3;3;Abcdef", QByteArray("  Abc\r")},
                    CasoCrudo{0, "Text=0;1;10;Ab;D", QByteArray("\n       Ab\r")},
                    CasoCrudo{0, "Text=0;0;10;Ab;C", QByteArray("    Ab\r")},
                    CasoCrudo{0, "Asci=27,64", QByteArray("\x1b@")},
                    CasoCrudo{0, "Asci=65,,66", QByteArray("A")},
                    CasoCrudo{0, "Asci=65,300,x,-1,66", QByteArray("AB")},
                    CasoCrudo{0, "Asci=", QByteArray()}));

TEST(Asci, NothingOnThePreview) {
  DestinoPrueba destino;
  destino.Ejecutar(u"Asci=27,64"_qs);
  EXPECT_TRUE(destino.crudo.isEmpty());
  EXPECT_TRUE(destino.Tinta().isEmpty());
}

}  // namespace
