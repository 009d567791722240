#include "tests/printing/GenelimpFixture.h"

#include "core/startup/Configuracion.h"
#include "tests/fixtures/ReportTestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>

namespace {

// The pictures a PDF holds, by pdfimages.
int Imagenes(const QString& archivo) {
  QProcess lista;
  lista.start(u"pdfimages"_qs, {u"-list"_qs, archivo});
  lista.waitForFinished(60000);
  // Two lines of heading, then one line a picture.
  return int(QString::fromUtf8(lista.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).size()) - 2;
}

const PdfWord* Palabra(const std::vector<PdfWord>& palabras, const QString& texto) {
  for (const PdfWord& palabra : palabras)
    if (palabra.text == texto) return &palabra;
  return nullptr;
}

constexpr double PuntosMilimetro = 72 / 25.4;

}  // namespace

// A PDF page is drawn as on paper: its texts are texts where the program put
// them, its lines and bars are no picture; a `Graf` picture is the one
// picture of its page.
TEST_F(Genelimp, APdfPageKeepsItsTextAsTextAndOnlyItsPictureAsAPicture) {
  const QString dibujo = u"logo.bmp"_qs;
  QImage rojo(40, 20, QImage::Format_RGB32);
  rojo.fill(Qt::red);
  ASSERT_TRUE(rojo.save(CarpetaPrograma + dibujo, "BMP"));
  const QString programa = u"[CABECERA]\r\nFont=Arial;12;Negro\r\nText=20;30;0;Factura número 7\r\n"
                     "Rect=10;40;200;60;1\r\nCBar=20;70;100;90;12345678;Code39;1\r\n"
                     "Line=10;100;200;100;2\r\n[PIE]\r\nText=150;280;0;Total"_qs;
  Impreso(u"FAC"_qs, programa);
  Documentos(2);
  const QString vectorial = carpeta.File(u"vectorial.pdf"_qs);
  auto formulario = Formulario();
  formulario->SalidaImpreso = u"PDF:"_qs + vectorial;
  formulario->ImprimirImpreso();

  const std::vector<PdfWord> palabras = PdfWords(vectorial);
  const PdfWord* factura = Palabra(palabras, u"Factura"_qs);
  ASSERT_NE(factura, nullptr);
  EXPECT_NEAR(factura->x, 20 * PuntosMilimetro, 1.5);
  EXPECT_NEAR(factura->y, 30 * PuntosMilimetro, 3);
  ASSERT_NE(Palabra(palabras, u"número"_qs), nullptr);
  int totales = 0;
  for (const PdfWord& palabra : palabras)
    if (palabra.text == u"Total"_qs) totales += palabra.page;
  EXPECT_EQ(totales, 1 + 2);
  EXPECT_EQ(PdfInfo(vectorial).value(u"Pages"_qs).toInt(), 2);
  EXPECT_EQ(Imagenes(vectorial), 0);

  Ejecutar(u"DELETE FROM IMPRESO"_qs);
  Impreso(u"FAC"_qs, programa + u"\r\n[CABECERA]\r\nGraf=10;110;50;130;"_qs + dibujo);
  const QString conDibujo = carpeta.File(u"dibujo.pdf"_qs);
  auto otro = Formulario();
  otro->SalidaImpreso = u"PDF:"_qs + conDibujo;
  otro->ImprimirImpreso();
  EXPECT_EQ(Imagenes(conDibujo), 2);  // one a page
  EXPECT_NE(Palabra(PdfWords(conDibujo), u"Factura"_qs), nullptr);
}
