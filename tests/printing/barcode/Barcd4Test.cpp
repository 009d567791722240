#include "printing/barcode/Barcd4.h"

#include "platform/data/DataSource.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/printing/barcode/MuestrasCodigos.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRubberBand>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace {

// The box of the ink drawn on the picture.
QRect Tinta(const QImage& imagen) {
  QRect caja;
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x)
      if (imagen.pixelColor(x, y) != Qt::white) caja |= QRect(x, y, 1, 1);
  return caja;
}

QImage Lienzo(QSize tamano) {
  QImage imagen(tamano, QImage::Format_RGB32);
  imagen.fill(Qt::white);
  return imagen;
}

// A control on a shown form, for the mouse.
struct ControlEnFormulario {
  ControlEnFormulario() {
    formulario.resize(400, 300);
    control = new TPrintBarcode(&formulario);
    control->setGeometry(20, 20, 200, 80);
    formulario.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&formulario));
  }
  QWidget formulario;
  TPrintBarcode* control;
};

}  // namespace

TEST(PrintBarcode, ValoresAlCrearse) {
  TPrintBarcode control;
  EXPECT_EQ(control.Text(), u"1234"_qs);
  EXPECT_EQ(control.BarCodeType(), TBarCodeType::Interleaved2Of5);
  EXPECT_FALSE(control.AutoPosition());
  EXPECT_TRUE(control.AutoSizing());
  EXPECT_TRUE(control.ClearZone());
  EXPECT_EQ(control.Magnification(), 1.0);
  EXPECT_EQ(control.BarColor(), QColor(Qt::black));
  EXPECT_EQ(control.Color(), QColor(Qt::white));
  EXPECT_GE(control.width(), 100);
}

TEST(PrintBarcode, MagnificacionSoloDondeCuentaYEnSuMargen) {
  const struct {
    TBarCodeType tipo;
    double dada, guardada;
  } casos[] = {
      {TBarCodeType::EAN13, 3, 2.0},  {TBarCodeType::EAN13, 0.5, 0.8},   {TBarCodeType::EAN8, 1.5, 1.5},
      {TBarCodeType::EAN, 2.5, 2.0},  {TBarCodeType::Code128, 5, 1.25},  {TBarCodeType::EAN128, 0.1, 0.2},
      {TBarCodeType::Code39, 3, 1.0}, {TBarCodeType::PostNet, 0.5, 1.0}, {TBarCodeType::ITF14, 2, 1.0},
      {TBarCodeType::Code128, std::numeric_limits<double>::quiet_NaN(), 1.0},
      {TBarCodeType::EAN13, std::numeric_limits<double>::infinity(), 1.0},
  };
  for (const auto& c : casos) {
    TPrintBarcode control;
    control.SetBarCodeType(c.tipo);
    control.SetMagnification(c.dada);
    EXPECT_EQ(control.Magnification(), c.guardada) << int(c.tipo) << " " << c.dada;
  }
}

TEST(PrintBarcode, PostNetEnciendeElAutoajusteYElTextoTieneUnLimite) {
  for (TBarCodeType tipo : {TBarCodeType::PostNet, TBarCodeType::PostnetZip, TBarCodeType::PostNetZipPlus4,
                            TBarCodeType::Postnet11}) {
    TPrintBarcode control;
    control.SetAutoSizing(false);
    control.SetBarCodeType(tipo);
    EXPECT_TRUE(control.AutoSizing()) << int(tipo);
  }
  TPrintBarcode control;
  control.SetAutoSizing(false);
  control.SetBarCodeType(TBarCodeType::EAN13);
  EXPECT_FALSE(control.AutoSizing());
  control.SetText(QString(300, u'1'));
  EXPECT_EQ(control.Text().size(), 280);
}

TEST(PrintBarcode, MedidasEnPulgadas) {
  TPrintBarcode control;
  ASSERT_EQ(control.logicalDpiY(), 96);
  ASSERT_EQ(control.logicalDpiX(), 96);
  control.SetHeightInInches(1);
  EXPECT_EQ(control.height(), 96);
  EXPECT_EQ(control.HeightInInches(), 1.0);
  control.SetWidthInInches(1.5);
  EXPECT_EQ(control.width(), 144);
  control.SetLeftInInches(0.26);
  EXPECT_EQ(control.x(), 25);
  EXPECT_EQ(control.LeftInInches(), 0.26);
  control.SetTopInInches(2);
  EXPECT_EQ(control.y(), 192);
  control.resize(100, 100);
  EXPECT_EQ(control.HeightInInches(), 1.042);
  EXPECT_EQ(control.WidthInInches(), 1.042);
}

TEST(PrintBarcode, DibujaEnOtroDestinoEnSuPosicion) {
  TPrintBarcode control;
  control.setGeometry(50, 40, 200, 60);
  control.SetText(u"12"_qs);
  control.SetAutoSizing(false);
  QImage pagina = Lienzo(QSize(600, 400));
  {
    QPainter pintor(&pagina);
    control.DrawOn(pintor, 96);
  }
  const QRect tinta = Tinta(pagina);
  EXPECT_TRUE(QRect(50, 40, 200, 60).contains(tinta)) << "Left and Top without AutoPosition";
  EXPECT_EQ(tinta.top(), 40) << "the bearer bar";

  // AutoPosition and AutoSizing scale position and size to the target's resolution.
  control.SetAutoPosition(true);
  control.SetAutoSizing(true);
  pagina = Lienzo(QSize(1200, 800));
  {
    QPainter pintor(&pagina);
    control.DrawOn(pintor, 192);
  }
  const QRect escalada = Tinta(pagina);
  EXPECT_TRUE(QRect(100, 80, 400, 120).contains(escalada)) << escalada.x() << "," << escalada.y();
  EXPECT_EQ(escalada.top(), 80);
  EXPECT_EQ(escalada.bottom(), 80 + 120 - 1);
  EXPECT_EQ(escalada.width(), 2 * tinta.width()) << "(10, 4) elements at 96 dpi, (20, 8) at 192";
}

TEST(PrintBarcode, EnSuPropiaSuperficie) {
  ControlEnFormulario f;
  TPrintBarcode& control = *f.control;
  control.SetBarCodeType(TBarCodeType::Code128);
  control.SetText(u"AB"_qs);
  QTest::qWait(0);
  control.grab();
  // Code 128 takes its width: 3 pixels a module at 96 dpi.
  EXPECT_EQ(control.width(), (11 * 4 + 13 + 20) * 3);
  EXPECT_EQ(control.height(), 80);
  EXPECT_FALSE(Tinta(control.grab().toImage()).isEmpty());

  control.SetText(u"AÑO"_qs);
  EXPECT_TRUE(Tinta(control.grab().toImage()).isEmpty()) << "cleared to the control's colour";
  control.SetBarCodeType(TBarCodeType::Code39);
  control.SetText(u"ab"_qs);
  EXPECT_TRUE(Tinta(control.grab().toImage()).isEmpty());
}

TEST(PrintBarcode, ArrastreConElRaton) {
  ControlEnFormulario f;
  TPrintBarcode& control = *f.control;

  // Inside: the whole control moves.
  QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(100, 40));
  QTest::mouseMove(&control, QPoint(130, 60));
  QRubberBand* banda = f.formulario.findChild<QRubberBand*>();
  ASSERT_TRUE(banda);
  EXPECT_TRUE(banda->isVisible());
  EXPECT_EQ(banda->geometry(), QRect(50, 40, 200, 80));
  EXPECT_EQ(control.geometry(), QRect(20, 20, 200, 80)) << "only the band follows until the button is up";
  QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(130, 60));
  EXPECT_EQ(control.geometry(), QRect(50, 40, 200, 80));
  EXPECT_FALSE(f.formulario.findChild<QRubberBand*>());

  // The right edge: only the width changes.
  QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(197, 40));
  QTest::mouseMove(&control, QPoint(147, 45));
  QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(147, 45));
  EXPECT_EQ(control.geometry(), QRect(50, 40, 150, 80));

  // The top-left corner.
  QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(1, 1));
  QTest::mouseMove(&control, QPoint(11, -9));
  QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(11, -9));
  EXPECT_EQ(control.geometry(), QRect(60, 30, 140, 90));

  // Down to 8 pixels wide: the band goes and the bounds stay.
  QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(137, 40));
  QTest::mouseMove(&control, QPoint(5, 40));
  banda = f.formulario.findChild<QRubberBand*>();
  ASSERT_TRUE(banda);
  EXPECT_FALSE(banda->isVisible());
  QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(5, 40));
  EXPECT_EQ(control.geometry(), QRect(60, 30, 140, 90));
}

TEST(PrintBarcode, CursorDeBordesYEsquinas) {
  ControlEnFormulario f;
  TPrintBarcode& control = *f.control;
  const struct {
    QPoint punto;
    Qt::CursorShape forma;
  } casos[] = {
      {{100, 40}, Qt::ArrowCursor},     {{1, 40}, Qt::SizeHorCursor},     {{197, 40}, Qt::SizeHorCursor},
      {{100, 1}, Qt::SizeVerCursor},    {{100, 77}, Qt::SizeVerCursor},   {{1, 1}, Qt::SizeFDiagCursor},
      {{197, 77}, Qt::SizeFDiagCursor}, {{197, 1}, Qt::SizeBDiagCursor}, {{1, 77}, Qt::SizeBDiagCursor},
  };
  for (const auto& c : casos) {
    QTest::mouseMove(&control, c.punto);
    EXPECT_EQ(control.cursor().shape(), c.forma) << c.punto.x() << "," << c.punto.y();
  }
}

namespace {

class PrintBarcodeEnlazado : public ConexionesFixture {
 protected:
  PrintBarcodeEnlazado() {
    Iniciar();
    Ejecutar(u"CREATE TABLE ARTICULO (Codigo INTEGER, CodigoBarras VARCHAR(20) NULL, "
             "CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO ARTICULO (Codigo, CodigoBarras) VALUES (1, '123'), (2, '8412345678905')"_qs);
    tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla.SetTableName(u"ARTICULO"_qs);
    tabla.Open();
    origen.SetDataSet(&tabla);
  }
  Table tabla;
  DataSource origen;
};

}  // namespace

TEST_F(PrintBarcodeEnlazado, ElTextoSigueAlCampoConCerosDelante) {
  const struct {
    TBarCodeType tipo;
    QString primero;
  } casos[] = {
      {TBarCodeType::EAN13, u"000000000123"_qs},
      {TBarCodeType::ITF14, u"000000000123"_qs},
      {TBarCodeType::EAN8, u"0000123"_qs},
      {TBarCodeType::Code39, u"123"_qs},
  };
  for (const auto& c : casos) {
    tabla.First();
    TPrintBarcode control;
    control.SetBarCodeType(c.tipo);
    control.SetSource(&origen);
    control.SetDataField(u"CodigoBarras"_qs);
    EXPECT_EQ(control.Text(), c.primero) << int(c.tipo);
    tabla.Next();
    EXPECT_EQ(control.Text(), u"8412345678905"_qs);
  }
}

TEST(PrintBarcode, ResolucionDelDestino) {
  TPrintBarcode control;
  QImage pagina(10, 10, QImage::Format_RGB32);
  QPdfWriter pdf(QDir(QDir::tempPath()).filePath(u"zem-resolucion.pdf"_qs));
  pdf.setResolution(300);
  const struct {
    const char* caso;
    const QPaintDevice* destino;
    int dada;
    bool propia;
    int x, y;
  } casos[] = {
      {"página a 150", &pagina, 150, false, 150, 150},
      {"página sin resolución: la pantalla", &pagina, 4, false, 96, 96},
      {"el propio control", &control, 0, true, 96, 96},
      {"otro control sin resolución: la suya", &control, 0, false, control.logicalDpiX(), control.logicalDpiX()},
      {"PDF: la suya aunque se dé otra", &pdf, 150, false, 300, 300},
  };
  for (const auto& c : casos) {
    const ResolucionDestino r = ResolucionDeDestino(c.destino, c.dada, c.propia);
    EXPECT_EQ(r.x, c.x) << c.caso;
    EXPECT_EQ(r.y, c.y) << c.caso;
  }
}

// Every type on the control's own surface draws; kept as pictures where
// ZEMWIN_PNG_CODIGOS names a folder.
TEST(PrintBarcode, CadaTipoEnSuPropiaSuperficie) {
  const QString carpeta = qEnvironmentVariable("ZEMWIN_PNG_CODIGOS");
  for (const MuestraCodigo& c : MuestrasDeCadaTipo()) {
    ControlEnFormulario f;
    f.control->resize(300, 120);
    f.control->SetBarCodeType(c.tipo);
    f.control->SetText(c.texto);
    f.control->grab();
    const QImage imagen = f.control->grab().toImage();
    EXPECT_FALSE(Tinta(imagen).isEmpty()) << int(c.tipo);
    if (!carpeta.isEmpty()) {
      EXPECT_TRUE(imagen.save(QDir(carpeta).filePath(u"control-%1.png"_qs.arg(int(c.tipo)))));
    }
  }
}
