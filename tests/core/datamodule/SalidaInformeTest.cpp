#include "core/datamodule/SalidaInforme.h"
#include "platform/data/Field.h"
#include "platform/report/ReportEngine.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/fixtures/ReportTestSupport.h"

#include <QDir>
#include <QFile>

namespace {

class SalidaInforme : public ConexionesFixture {
 protected:
  SalidaInforme() {
    Iniciar();
    ModuloDatos = &modulo;
  }
  ~SalidaInforme() override { ModuloDatos = nullptr; }

  void AbrirParametros(const QString& solicitar) {
    Ejecutar(u"CREATE TABLE PARAGENE (Codigo INTEGER, SolicitarDialogoImpresora VARCHAR(2) NULL, "
             "CONSTRAINT PARAGENE_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO PARAGENE VALUES (1, %1)"_qs.arg(solicitar.isNull() ? u"NULL"_qs : u"'"_qs + solicitar + u"'"_qs));
    modulo.ParamGenerales->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    modulo.ParamGenerales->SetTableName(u"PARAGENE"_qs);
    modulo.ParamGenerales->Open();
  }

  TModuloDatos modulo;
  ScriptedDialogs dialogos;
  NamesListing listado{140};
};

struct Destino {
  const char* destino;
  const char* impresora;  // the job's printer; empty: nothing printed
};

class DestinosImpresora : public SalidaInforme, public testing::WithParamInterface<Destino> {};

TEST_P(DestinosImpresora, APartOfANameChoosesTheFirstPrinterHoldingIt) {
  RecordingPrinter impresoras({"Almacen", "Oficina 1", "Oficina 2", "PDF:y"}, carpeta.Path());
  GenerarSalidaInforme(listado.report, QString::fromUtf8(GetParam().destino));
  const QString esperada = QString::fromUtf8(GetParam().impresora);
  if (esperada.isEmpty()) {
    EXPECT_TRUE(impresoras.Jobs().isEmpty());
    return;
  }
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  EXPECT_EQ(impresoras.Jobs()[0].printer, esperada);
  EXPECT_EQ(listado.report.PrinterSettings.PrinterIndex, impresoras.Printers().indexOf(esperada));
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[0].file).value("Pages").toInt(), 3);
}

INSTANTIATE_TEST_SUITE_P(Destinos, DestinosImpresora,
                         testing::Values(Destino{"Oficina", "Oficina 1"}, Destino{"ina 2", "Oficina 2"},
                                         Destino{"oficina", ""}, Destino{"Taller", ""},
                                         // "PDF:" that is not at the start names a printer.
                                         Destino{"x PDF:y", ""}, Destino{"DF:y", "PDF:y"}));

struct Solicitud {
  const char* parametro;  // nullptr: the parameters are not open
  bool dialogo;
};

class SolicitudDialogo : public SalidaInforme, public testing::WithParamInterface<Solicitud> {};

TEST_P(SolicitudDialogo, OnlyNoPrintsWithoutTheDialog) {
  if (GetParam().parametro) AbrirParametros(QString::fromUtf8(GetParam().parametro));
  RecordingPrinter impresoras({"Oficina 1", "Oficina 2"}, carpeta.Path());
  if (GetParam().dialogo) dialogos.ExpectPrint(false);
  GenerarSalidaInforme(listado.report, QString());
  EXPECT_EQ(impresoras.Jobs().size(), GetParam().dialogo ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Parametro, SolicitudDialogo,
                         testing::Values(Solicitud{"NO", false}, Solicitud{"SI", true}, Solicitud{"", true},
                                         Solicitud{"no", true}, Solicitud{nullptr, true}));

TEST_F(SalidaInforme, TheDialogsChoiceOfPrinterCopiesOrientationAndPagesIsKept) {
  RecordingPrinter impresoras({"Oficina 1", "Oficina 2"}, carpeta.Path());
  PrintSettings eleccion;
  eleccion.PrinterIndex = 1;
  eleccion.Copies = 3;
  eleccion.Orientation = QPageLayout::Landscape;
  eleccion.FirstPage = 2;
  eleccion.LastPage = 3;
  dialogos.ExpectPrint(true, eleccion);
  GenerarSalidaInforme(listado.report, QString());
  ASSERT_EQ(dialogos.Dialogs().size(), 1);
  EXPECT_TRUE(dialogos.Dialogs()[0].print.PrintToFile);
  EXPECT_TRUE(dialogos.Dialogs()[0].print.PageNumbers);
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  const RecordingPrinter::Job& trabajo = impresoras.Jobs()[0];
  EXPECT_EQ(trabajo.printer, "Oficina 2");
  EXPECT_EQ(trabajo.copies, 3);
  EXPECT_EQ(trabajo.orientation, QPageLayout::Landscape);
  EXPECT_EQ(trabajo.document, "Listado");
  EXPECT_EQ(trabajo.fromPage, 2);
  EXPECT_EQ(trabajo.toPage, 3);
  // Landscape A4 holds 34 rows of 21: 140 rows make five pages, of which two are printed whole.
  const QVariantMap pdf = PdfInfo(trabajo.file);
  EXPECT_EQ(pdf.value("Pages").toInt(), 2);
  EXPECT_TRUE(pdf.value("Page size").toString().startsWith("842 x 595"));
  EXPECT_EQ(listado.report.PrinterSettings.Copies, 3);
  QStringList numeros;
  for (const PdfWord& palabra : PdfWords(trabajo.file))
    if (palabra.text != "Fila") numeros << palabra.text;
  ASSERT_EQ(numeros.size(), 68);
  EXPECT_EQ(numeros.first(), "35");
  EXPECT_EQ(numeros.last(), "102");
}

TEST_F(SalidaInforme, ALandscapeReportPrintsWholeOnTurnedPaper) {
  RecordingPrinter impresoras({"Oficina 1"}, carpeta.Path());
  listado.report.Page.Orientation = QPageLayout::Landscape;
  GenerarSalidaInforme(listado.report, "Oficina");
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  const QVariantMap pdf = PdfInfo(impresoras.Jobs()[0].file);
  EXPECT_EQ(pdf.value("Pages").toInt(), 5);
  EXPECT_TRUE(pdf.value("Page size").toString().startsWith("842 x 595"));
  EXPECT_EQ(PdfWords(impresoras.Jobs()[0].file).size(), 2u * 140);
}

TEST_F(SalidaInforme, APrintJobThatCannotStartRaises) {
  RecordingPrinter impresoras({"Oficina 1"}, carpeta.File("no/existe"));
  EXPECT_THROW(GenerarSalidaInforme(listado.report, "Oficina"), Exception);
}

TEST_F(SalidaInforme, PdfGoesToThePathAfterThePrefix) {
  const QString archivo = carpeta.File("x.pdf");
  GenerarSalidaInforme(listado.report, "PDF:" + archivo + "PDF:otro");
  EXPECT_EQ(PdfInfo(archivo).value("Pages").toInt(), 3);
  EXPECT_EQ(QDir(carpeta.Path()).entryList({"*.pdf*"}, QDir::Files), QStringList{"x.pdf"});
}

TEST_F(SalidaInforme, AReportWithoutPagesWritesNoPdfAndSaysNothing) {
  listado.rows.Rows().clear();
  GenerarSalidaInforme(listado.report, "PDF:" + carpeta.File("vacio.pdf"));
  EXPECT_FALSE(QFile::exists(carpeta.File("vacio.pdf")));
}

TEST_F(SalidaInforme, APdfThatCannotBeWrittenIsWarnedOnceAndLeavesTheTarget) {
  ASSERT_TRUE(QDir(carpeta.Path()).mkpath("ocupado.pdf"));
  mensajes.Expect("A");
  GenerarSalidaInforme(listado.report, "PDF:" + carpeta.File("ocupado.pdf"));
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(
      "Se ha producido un error al generar el archivo PDF. Motivo: "));
  EXPECT_GT(mensajes.Messages()[0].text.size(), 62);
  EXPECT_TRUE(QFileInfo(carpeta.File("ocupado.pdf")).isDir());
}

}  // namespace
