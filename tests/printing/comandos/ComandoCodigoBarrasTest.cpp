#include "printing/comandos/ComandoCodigoBarras.h"

#include "printing/Genelimp.h"
#include "tests/printing/comandos/DestinoPrueba.h"

#include <gtest/gtest.h>

namespace {

class CodigoBarras : public testing::Test {
 protected:
  CodigoBarras() {
    destino.entorno.documentos.push_back({{u"CodigoTemporal"_qs, 1}, {u"CodigoBarras"_qs, u"5012345678900"_qs}});
    destino.entorno.PrimerDocumento();
  }
  ~CodigoBarras() override { FormularioLlamador.clear(); }

  QRect Caja(double x1, double y1, double x2, double y2) {
    const GeometriaImpreso& g = destino.ejecucion.geometria;
    return QRect(QPoint(g.PixelesPaginaX(x1), g.PixelesPaginaY(y1)), QPoint(g.PixelesPaginaX(x2), g.PixelesPaginaY(y2)));
  }
  // Changes between ink and paper along the line across (or down) the middle of the box.
  int Cambios(const QRect& caja, bool aLoAncho) {
    const QImage& imagen = destino.Imagen();
    int cambios = 0;
    bool antes = false;
    const int largo = aLoAncho ? caja.width() : caja.height();
    for (int n = 0; n < largo; ++n) {
      const QPoint punto = aLoAncho ? QPoint(caja.left() + n, caja.center().y()) : QPoint(caja.center().x(), caja.top() + n);
      const bool tinta = qGray(imagen.pixel(punto)) < 128;
      cambios += n > 0 && tinta != antes;
      antes = tinta;
    }
    return cambios;
  }

  DestinoPrueba destino;
};

}  // namespace

TEST_F(CodigoBarras, TheTypeWordChoosesTheSymbologyAndTheTextItsField) {
  const struct {
    const char* linea;
    bool dibuja;
    bool enCaja = true;  // UPCA sizes its bars itself
  } casos[] = {
      {"CBar=20;250;80;265;Camp:CodigoBarras;EAN13;1;", true},
      {"CBar=20;250;80;265;12345678901;UPCA;1;", true, false},  // 11 digits as EAN13 with a leading 0
      {"CBar=20;250;80;265;12345678901;EAN13;1;", false},
      {"CBar=20;250;80;265;012345678901;Desconocido;x;", true},
      {"CBar=20;250;80;265;ABC-12;Code39;1;", true},
      {"CBar=20;250;80;265;abc;Code39;1;", false},
      {"CBar=20;250;80;265;Camp:NoExiste;Code39;1;", false},  // the field's name itself, lower case
      {"CBar=20;250;80;265;Camp:NOEXISTE;Code39;1;", true},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.linea);
    destino.imagen.fill(Qt::white);
    destino.Ejecutar(QString::fromLatin1(caso.linea));
    const QRect tinta = destino.Tinta();
    EXPECT_EQ(!tinta.isEmpty(), caso.dibuja);
    if (caso.dibuja && caso.enCaja) {
      EXPECT_TRUE(Caja(20, 250, 80, 265).adjusted(-1, -1, 1, 1).contains(tinta));
    }
  }
}

TEST_F(CodigoBarras, AnUnknownTypeWordDrawsAsEan13) {
  destino.Ejecutar(u"CBar=20;20;80;40;5012345678900;EAN13;1;"_qs);
  const QImage ean13 = destino.Imagen().copy();
  destino.imagen.fill(Qt::white);
  destino.Ejecutar(u"CBar=20;20;80;40;5012345678900;;1;"_qs);
  EXPECT_EQ(destino.Imagen(), ean13);
}

TEST_F(CodigoBarras, TurnedBarcodesReadDownAndAreLeftOutOfTheDesignTest) {
  const QRect alta = Caja(20, 20, 40, 80);
  destino.Ejecutar(u"CBar=20;20;40;80;5012345678900;EAN13;1;Girar+90"_qs);
  EXPECT_GT(Cambios(alta, false), 40);
  EXPECT_LT(Cambios(alta, true), 6);
  EXPECT_TRUE(alta.adjusted(-1, -1, 1, 1).contains(destino.Tinta()));

  destino.imagen.fill(Qt::white);
  FormularioLlamador = u"fGENEIMPR"_qs;
  destino.Ejecutar(u"CBar=20;20;40;80;5012345678900;EAN13;1;Girar+90"_qs);
  EXPECT_TRUE(destino.Tinta().isEmpty());
  destino.Ejecutar(u"CBar=20;100;80;120;5012345678900;EAN13;1;"_qs);
  EXPECT_GT(Cambios(Caja(20, 100, 80, 120), true), 40);
}

TEST(GiroCodigoBarras, EachTurnWordMovesThePixelsItsWay) {
  // A control of 3 x 2 drawn upright (or 2 x 3 for the quarter turns) at the work picture's corner.
  QImage dibujo(4, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) dibujo.setPixel(x, y, qRgb(10 * x, 10 * y, 0));
  const auto p = [](int x, int y) { return qRgb(10 * x, 10 * y, 0); };
  const QRgb blanco = qRgb(255, 255, 255);
  const struct {
    const char* giro;
    std::vector<QRgb> filas;  // the turned 3 x 2 picture, row by row
  } casos[] = {
      {"Girar+90", {p(1, 0), p(1, 1), p(1, 2), p(0, 0), p(0, 1), p(0, 2)}},
      {"Girar-90", {p(0, 2), p(0, 1), p(0, 0), p(1, 2), p(1, 1), p(1, 0)}},
      {"Girar180", {p(2, 1), p(1, 1), p(0, 1), p(2, 0), p(1, 0), p(0, 0)}},
      {"Girar90", {blanco, blanco, blanco, blanco, blanco, blanco}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.giro);
    const QImage girada = GirarCodigoBarras(dibujo, 3, 2, QString::fromLatin1(caso.giro));
    ASSERT_EQ(girada.size(), QSize(3, 2));
    std::vector<QRgb> filas;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) filas.push_back(girada.pixel(x, y));
    EXPECT_EQ(filas, caso.filas);
  }
}
