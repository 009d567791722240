#include "core/progress/Geneprog.h"
#include "platform/data/Query.h"
#include "platform/report/ReportEngine.h"
#include "printing/Geneprev.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/printing/ListadoFixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

// A listing of 200 sales in the preview, made to its last page.
class Geneprev : public ListadoFixture {
 protected:
  void Previsualizar(Dataset* datos = nullptr) {
    if (!informe) Ventas(200);
    vista = std::make_unique<TfGENEPREV>();
    vista->Previsualizar(informe->QuickReport(), informe->objectName(), datos ? datos : &ventas, nullptr);
  }
  void TearDown() override {
    vista.reset();
    ListadoFixture::TearDown();
  }
  QSpinBox& Caja(const char* nombre) const { return *vista->findChild<QSpinBox*>(QString::fromLatin1(nombre)); }
  void Cancelar() const { vista->findChild<QAction*>(u"CancelarelListado1"_qs)->trigger(); }

  std::unique_ptr<TfGENEPREV> vista;
  ScriptedDialogs dialogos;
  RecordingPrinter impresoras{{u"Oficina"_qs}, carpeta.Path()};
};

}  // namespace

TEST_F(Geneprev, ThePageBoxKeepsToThePagesMade) {
  Previsualizar();
  const int paginas = vista->NumeroPaginas();
  ASSERT_GE(paginas, 4);
  EXPECT_EQ(vista->Paginas().PageCount(), paginas);
  EXPECT_EQ(vista->EstadoInforme, u"Finalizada"_qs);
  EXPECT_EQ(vista->Zoom(), 100);  // "Normal" without general parameters
  Caja("SpinEditPagina").setValue(3);
  EXPECT_EQ(vista->PaginaActual(), 3);
  Caja("SpinEditPagina").setValue(0);
  EXPECT_EQ(vista->PaginaActual(), 1);
  vista->MostrarPagina(99);
  EXPECT_EQ(vista->PaginaActual(), paginas);
}

TEST_F(Geneprev, TheFirstPageOpensAtTheZoomOfTheParameters) {
  Parametros(u"FmtVisualizacionPrevia VARCHAR(20) NULL"_qs, u"'75'"_qs);
  const QScrollArea* area = nullptr;
  for (const char* formato : {"75", "abc", "Ancho Ajustado", "Pagina Completa"}) {
    Ejecutar(u"UPDATE PARAGENE SET FmtVisualizacionPrevia = '%1'"_qs.arg(QString::fromLatin1(formato)));
    Previsualizar();
    area = vista->findChild<QScrollArea*>(u"QRPreview1"_qs);
    const QSize pagina = area->widget()->size();
    const QSize visible = area->maximumViewportSize();
    EXPECT_EQ(Caja("SpinEditZoom").value(), vista->Zoom()) << formato;
    if (formato == std::string_view("75")) {
      EXPECT_EQ(vista->Zoom(), 75);
    }
    if (formato == std::string_view("abc")) {
      EXPECT_EQ(vista->Zoom(), 100);
    }
    if (formato == std::string_view("Ancho Ajustado")) {
      EXPECT_LE(pagina.width(), visible.width()) << formato;
      EXPECT_GE(pagina.width(), visible.width() - 40) << formato;
    }
    if (formato == std::string_view("Pagina Completa")) {
      EXPECT_LE(pagina.height(), visible.height()) << formato;
    }
  }
}

TEST_F(Geneprev, PrintingTheCurrentPagePrintsOnlyThatPage) {
  Previsualizar();
  vista->MostrarPagina(3);
  dialogos.ExpectPrint(true).ExpectPrint(true, {0, 1, QPageLayout::Portrait, 2, 3, {}});
  vista->pbImprimirPaginaClick();
  vista->pbImprimirClick();
  ASSERT_EQ(impresoras.Jobs().size(), 2);
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[0].file).value(u"Pages"_qs).toInt(), 1);
  EXPECT_TRUE(PdfWords(impresoras.Jobs()[0].file).front().text.size() > 0);
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[1].file).value(u"Pages"_qs).toInt(), 2);
  EXPECT_EQ(vista->EstadoInforme, u"Finalizada"_qs);
}

TEST_F(Geneprev, WithoutThePrintDialogTheMadePagesGoToTheDefaultPrinter) {
  Parametros(u"SolicitarDialogoImpresora VARCHAR(2) NULL"_qs, u"'NO'"_qs);
  Previsualizar();
  vista->pbImprimirClick();
  vista->MostrarPagina(2);
  vista->pbImprimirPaginaClick();
  ASSERT_EQ(impresoras.Jobs().size(), 2);
  EXPECT_EQ(impresoras.Jobs()[0].printer, u"Oficina"_qs);
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[0].file).value(u"Pages"_qs).toInt(), vista->NumeroPaginas());
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[1].file).value(u"Pages"_qs).toInt(), 1);
}

TEST_F(Geneprev, ExportsAppendTheExtensionOfTheChosenFilterUnlessOneIsTyped) {
  Previsualizar();
  struct Caso {
    QString tecleado;
    int filtro;
    QString escrito;
    const char* contenido;  // what tells the kind written
  } casos[] = {{u"LISTADO"_qs, 2, u"LISTADO.CSV"_qs, "\"Venta 199\""},
               {u"LISTADO.CSV"_qs, 2, u"LISTADO.CSV"_qs, "\"Venta 199\""},
               {u"x.csv"_qs, 1, u"x.csv"_qs, "\"Venta 199\""},
               {u"texto"_qs, 1, u"texto.TXT"_qs, "Venta 199"},
               {u"informe.v2"_qs, 1, u"informe.v2.TXT"_qs, "Venta 199"},
               {u"pagina"_qs, 3, u"pagina.HTM"_qs, "<"},
               {u"web.html"_qs, 1, u"web.html"_qs, "<"},
               {u"nota.Txt"_qs, 3, u"nota.Txt"_qs, "Venta 199"}};
  for (const Caso& caso : casos) {
    dialogos.ExpectFile(carpeta.File(caso.tecleado), caso.filtro);
    vista->pbExportarClick();
    QFile archivo(carpeta.File(caso.escrito));
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly)) << caso.escrito.toStdString();
    const QByteArray escrito = archivo.readAll();
    EXPECT_TRUE(escrito.contains("Venta 199")) << caso.escrito.toStdString();
    EXPECT_TRUE(escrito.contains(caso.contenido)) << caso.escrito.toStdString();
    EXPECT_EQ(escrito.contains("<"), QByteArray(caso.contenido) == "<") << caso.escrito.toStdString();
  }
  EXPECT_FALSE(QFile::exists(carpeta.File(u"x.csv.TXT"_qs)));
  EXPECT_EQ(dialogos.Dialogs().front().fileName, u"INFORME"_qs);
  EXPECT_EQ(dialogos.Dialogs().front().nameFilters.size(), 3);
  EXPECT_EQ(dialogos.Dialogs().front().title, u"Exportar a un Archivo de Texto"_qs);
  dialogos.ExpectFile(carpeta.File(u"ventas"_qs));
  vista->pbExportarAPDFClick();
  EXPECT_EQ(dialogos.Dialogs().last().fileName, u"fGENELPRO"_qs);
  EXPECT_EQ(dialogos.Dialogs().last().title, QFileDialog::tr("Save As"));
  EXPECT_EQ(PdfInfo(carpeta.File(u"ventas.pdf"_qs)).value(u"Pages"_qs).toInt(), vista->NumeroPaginas());
  dialogos.ExpectFile(carpeta.File(u"tecleado.PDF"_qs));
  vista->pbExportarAPDFClick();
  EXPECT_GT(PdfInfo(carpeta.File(u"tecleado.PDF"_qs)).value(u"Pages"_qs).toInt(), 0);
  EXPECT_FALSE(QFile::exists(carpeta.File(u"tecleado.PDF.pdf"_qs)));
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  vista->pbExportarAExcelClick();  // "NO": nothing more is asked
  // "SI": the report's table, through the workbook export and its own questions.
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"NO"_qs).Expect(u"I"_qs);
  dialogos.ExpectFile(carpeta.File(u"ventas"_qs));
  vista->pbExportarAExcelClick();
  EXPECT_EQ(dialogos.Dialogs().last().fileName, u"fGENELPRO"_qs);
  EXPECT_EQ(dialogos.Dialogs().last().title, u"Introducir el Nombre del Fichero de Excel"_qs);
  EXPECT_TRUE(QFile::exists(carpeta.File(u"ventas.xlsx"_qs)));
  // The workbook's title stays on the shared dialog, but not on the exports.
  dialogos.ExpectFile(carpeta.File(u"despues"_qs));
  vista->pbExportarAPDFClick();
  EXPECT_EQ(dialogos.Dialogs().last().title, QFileDialog::tr("Save As"));
}

TEST_F(Geneprev, WhileAPrintRunsPrintingAndClosingAreRefused) {
  Previsualizar();
  vista->EstadoInforme = u"En Progreso"_qs;
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  vista->pbImprimirClick();
  vista->close();
  EXPECT_TRUE(vista->isVisible());
  EXPECT_EQ(mensajes.Texts(), (QStringList{u"¡Debe esperar a que finalice el informe en curso!"_qs,
                                           u"¡Debe esperar a que finalice el informe para cerrar la previsualización!"_qs}));
  vista->EstadoInforme = u"Finalizada"_qs;
  vista->close();
  EXPECT_FALSE(vista->isVisible());
}

TEST_F(Geneprev, EscCancelsOnlyWhatCanBeCancelled) {
  Previsualizar();
  // The listing reported progress as it was made.
  mensajes.Expect(u"A"_qs);
  Cancelar();
  EXPECT_EQ(mensajes.Texts().value(0), u"¡No es posible cancelar el listado en este momento!"_qs);
  // After a print the progress is forgotten; a permanent table is never cancelled.
  dialogos.ExpectPrint(true);
  vista->pbImprimirPaginaClick();
  Cancelar();
  EXPECT_EQ(mensajes.Texts().size(), 1);
  // A query asks; any answer but "SI" cancels.
  Query consulta;
  consulta.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  consulta.SQL().SetText(u"SELECT Codigo, Nombre FROM VENTAS"_qs);
  consulta.Open();
  vista->Previsualizar(informe->QuickReport(), informe->objectName(), &consulta, nullptr);
  dialogos.ExpectPrint(true);
  vista->pbImprimirPaginaClick();
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs);
  Cancelar();
  EXPECT_TRUE(CancelarListado);
  Cancelar();
  EXPECT_FALSE(CancelarListado);
}

TEST_F(Geneprev, TheFirstPageShowsWhileTheLaterOnesAreMade) {
  int paginaVista = 0;
  int hechas = 0;
  QString estado = u"-"_qs;
  QTimer mirar;
  mirar.callOnTimeout([&] {
    if (paginaVista > 0 || !vista || vista->NumeroPaginas() < 1) return;
    paginaVista = vista->isVisible() ? vista->PaginaActual() : -1;
    hechas = vista->NumeroPaginas();
    estado = vista->EstadoInforme;
  });
  mirar.start(0);
  Previsualizar();
  EXPECT_EQ(paginaVista, 1);
  EXPECT_LT(hechas, vista->NumeroPaginas());
  EXPECT_NE(estado, u"Finalizada"_qs);
}

TEST_F(Geneprev, EscClosesTheMadeListingsPreviewWhichHasACloseBox) {
  Previsualizar();
  EXPECT_TRUE(vista->windowFlags().testFlag(Qt::WindowTitleHint) && vista->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  vista->show();
  QApplication::setActiveWindow(vista.get());
  ASSERT_EQ(vista->EstadoInforme, u"Finalizada"_qs);
  QTest::keyClick(vista->focusWidget() ? vista->focusWidget() : vista.get(), Qt::Key_Escape);
  EXPECT_FALSE(vista->isVisible());
  EXPECT_TRUE(mensajes.Texts().isEmpty()) << "nothing left to cancel, nothing asked";
}
