#include "core/datamodule/ImpresionTexto.h"
#include "platform/Exceptions.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

// The words of the one job, a line per distinct height of a page.
QStringList LineasImpresas(const QString& archivo, int* paginas = nullptr) {
  QStringList lineas;
  int pagina = 0;
  double altura = -1;
  for (const PdfWord& palabra : PdfWords(archivo)) {
    if (palabra.page != pagina || std::abs(palabra.y - altura) > 2) lineas << palabra.text;
    else lineas.last() += u' ' + palabra.text;
    pagina = palabra.page;
    altura = palabra.y;
  }
  if (paginas) *paginas = pagina;
  return lineas;
}

class ImpresionTexto : public testing::Test {
 protected:
  TemporaryFolder carpeta;
  RecordingPrinter impresoras{{u"Oficina"_qs, u"Almacen"_qs}, carpeta.Path()};
};

TEST_F(ImpresionTexto, TheTitleInCapitalsAnEmptyLineAndEachLineOnTheDefaultPrinter) {
  ImprimirTexto(u"Primera línea\r\nsegunda\nTercera & <última>\n"_qs, u"Resumen del día"_qs);
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  const RecordingPrinter::Job trabajo = impresoras.Jobs().front();
  EXPECT_EQ(trabajo.printer, u"Oficina"_qs);
  EXPECT_EQ(trabajo.document, u"Resumen del día"_qs);
  EXPECT_EQ(LineasImpresas(trabajo.file),
            QStringList({u"RESUMEN DEL DÍA"_qs, u"Primera línea"_qs, u"segunda"_qs, u"Tercera & <última>"_qs}));
  const std::vector<PdfWord> palabras = PdfWords(trabajo.file);
  const double titulo = palabras.front().y;
  const double primera = palabras.at(3).y;
  const double segunda = palabras.at(5).y;
  EXPECT_NEAR(primera - titulo, 2 * (segunda - primera), 1) << "an empty line after the title";
}

TEST_F(ImpresionTexto, ManyLinesRunOnOverPagesInOrderAndLongOnesWrap) {
  QStringList texto;
  for (int linea = 1; linea <= 150; ++linea) texto << u"Linea %1"_qs.arg(linea);
  texto.insert(10, QStringList(40, u"palabra"_qs).join(u' '));
  ImprimirTexto(texto.join(u"\r\n"_qs), u"Largo"_qs);
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  int paginas = 0;
  const QStringList lineas = LineasImpresas(impresoras.Jobs().front().file, &paginas);
  EXPECT_EQ(paginas, 3);
  EXPECT_EQ(lineas.first(), u"LARGO"_qs);
  EXPECT_EQ(lineas.filter(u"Linea "_qs).size(), 150);
  EXPECT_EQ(lineas.last(), u"Linea 150"_qs);
  EXPECT_EQ(lineas.join(u' ').count(u"palabra"_qs), 40) << "the long line is wrapped, none of it lost";
  EXPECT_GT(lineas.filter(u"palabra"_qs).size(), 1);
}

TEST_F(ImpresionTexto, AnEmptyTextPrintsTheTitleAlone) {
  ImprimirTexto(QString(), u"Vacío"_qs);
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  EXPECT_EQ(LineasImpresas(impresoras.Jobs().front().file), QStringList({u"VACÍO"_qs}));
}

// "Print to file" works with no printer at all: the lines go to the PDF.
TEST(ImpresionTextoSinImpresora, PrintingToAFileWritesThePdf) {
  TemporaryFolder carpeta;
  RecordingPrinter ninguna({}, carpeta.Path());
  PrintSettings ajustes;
  ajustes.OutputFile = carpeta.File(u"Información del sistema.pdf"_qs);
  ImprimirTexto(u"Plataforma=Linux\r\nMemoria=8 GB"_qs, u"Sistema"_qs, ajustes);
  EXPECT_TRUE(ninguna.Jobs().isEmpty());
  EXPECT_EQ(LineasImpresas(ajustes.OutputFile), QStringList({u"SISTEMA"_qs, u"Plataforma=Linux"_qs, u"Memoria=8 GB"_qs}));
  // A file that cannot be written is said by its name.
  ajustes.OutputFile = carpeta.File(u"no/existe/x.pdf"_qs);
  try {
    ImprimirTexto(u"uno"_qs, u"Sistema"_qs, ajustes);
    ADD_FAILURE() << "no error";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), u"No se ha podido iniciar la impresión en "_qs + ajustes.OutputFile);
  }
}

TEST(ImpresionTextoSinImpresora, AJobThatCannotStartRaises) {
  TemporaryFolder carpeta;
  RecordingPrinter impresoras({u"Oficina"_qs}, carpeta.File(u"no/existe"_qs));
  EXPECT_THROW(ImprimirTexto(u"uno"_qs, u"Título"_qs), Exception);
}

}  // namespace
