#include "tests/printing/GenelimpFixture.h"

#include "platform/data/Session.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/RecordingPrintQueue.h"
#include "tests/fixtures/ReportTestSupport.h"

#include <QRegularExpression>

TEST_F(Genelimp, NoDataInThePreview) {
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura));
  VisualizarEnPantalla = true;
  mensajes.Expect(u"I"_qs);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_EQ(mensajes.Messages()[0].text, u"¡No hay datos para procesar!"_qs);
}

TEST_F(Genelimp, APrintoutThatDoesNotExist) {
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura));
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal, CodigoImpreso) VALUES (1, 'NOEXISTE')"_qs);
  mensajes.Expect(u"A"_qs);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_EQ(mensajes.Messages()[0].text, u"¡No existe el formato del Impreso!"_qs);
  EXPECT_TRUE(impresoras.Jobs().isEmpty());
}

TEST_F(Genelimp, APrintoutThatIsNotDefined) {
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura));
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal, CodigoImpreso) VALUES (1, 'Por Defecto')"_qs);
  CodigoImpresoActual.clear();
  mensajes.Expect(u"A"_qs);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_EQ(mensajes.Messages()[0].text, u"¡El formato del Impreso no está definido!"_qs);
  EXPECT_TRUE(impresoras.Jobs().isEmpty());
}

TEST_F(Genelimp, OnlySistemaOpensNoJob) {
  Impreso(u"FAC"_qs, u"[SISTEMA]\r\nMargenes=5;5"_qs, u"Oficina 2"_qs);
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal) VALUES (1), (2)"_qs);
  dialogos.ExpectPrint(true);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  EXPECT_TRUE(impresoras.Jobs().isEmpty());
}

TEST_F(Genelimp, CopiesOnTheNamedPrinterWithoutTheDialog) {
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura), u"Oficina 2"_qs);
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal, NumeroCopias) VALUES (1, 3), (2, NULL)"_qs);
  Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo, Importe) VALUES (1, 1, 0, 1), (2, 1, 0, 2)"_qs);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  EXPECT_EQ(impresoras.Jobs()[0].printer, u"Oficina 2"_qs);
  EXPECT_EQ(impresoras.Jobs()[0].document, u"Factura"_qs);
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[0].file).value(u"Pages"_qs).toInt(), 4);
  EXPECT_EQ(formulario->ImpresoraActual, u"Oficina 2"_qs);
  EXPECT_GT(formulario->Ejecucion().geometria.anchoFisicoImpresora, 0);
}

TEST_F(Genelimp, TheDefaultPrinterAsksTheDialogAndACancelEndsSilently) {
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura), u"Predeterminada"_qs);
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal) VALUES (1)"_qs);
  dialogos.ExpectPrint(false);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  EXPECT_TRUE(impresoras.Jobs().isEmpty());
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(Genelimp, ThePreviewHoldsOnePageACopyWithItsDocumentsKey) {
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura));
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal, NumeroCopias) VALUES (1, 3), (2, 3)"_qs);
  VisualizarEnPantalla = true;
  auto formulario = Formulario();
  int paginas = 0;
  QStringList claves;
  QSize tamano;
  AlMostrarse(*formulario, [&] {
    paginas = formulario->PaginasImpreso().PageCount();
    claves = formulario->ClavesPaginas();
    tamano = {formulario->Ejecucion().geometria.anchoPagina, formulario->Ejecucion().geometria.altoPagina};
  });
  formulario->ImprimirImpreso();
  EXPECT_EQ(paginas, 2);
  EXPECT_EQ(claves, QStringList({u"1;"_qs, u"2;"_qs}));
  EXPECT_EQ(tamano, QSize(800, 1131));
  EXPECT_TRUE(impresoras.Jobs().isEmpty());
  EXPECT_TRUE(formulario->ClavesPaginas().isEmpty());
}

TEST_F(Genelimp, DestructionDeletesTheTemporaryTables) {
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura));
  Formulario().reset();
  Table temporal;
  temporal.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  temporal.SetTableName(u"TEMPIMP"_qs);
  EXPECT_FALSE(temporal.Exists());
  EXPECT_TRUE(FormularioLlamador.isEmpty());
}

TEST_F(Genelimp, LabelsFromTheSlotTheUserGivesOnPaper) {
  Impreso(u"FAC"_qs, u"[SISTEMA]\r\nFormatoEtiqueta=3;8;70;37\r\n[CABECERA]\r\nEtiq=1"_qs, u"Oficina 1"_qs);
  Documentos(22);
  mensajes.Expect(u"P"_qs, u"25"_qs).Expect(u"A"_qs).Expect(u"P"_qs, u"5"_qs);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 3);
  EXPECT_EQ(mensajes.Messages()[0].text, u"Introduzca la posición de la primera etiqueta: "_qs);
  EXPECT_EQ(mensajes.Messages()[0].defaultAnswer, u"1"_qs);
  EXPECT_EQ(mensajes.Messages()[1].text, u"La posición no puede ser mayor que 24"_qs);
  // Slots 5 to 24 fill the first sheet, the last two documents start the second.
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[0].file).value(u"Pages"_qs).toInt(), 2);
}

TEST_F(Genelimp, MoreThan25PagesInThePreviewAndNo) {
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura));
  Documentos(30);
  VisualizarEnPantalla = true;
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  auto formulario = Formulario();
  int paginas = 0;
  AlMostrarse(*formulario, [&] { paginas = formulario->PaginasImpreso().PageCount(); });
  formulario->ImprimirImpreso();
  EXPECT_EQ(paginas, 26);
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(u"¡El número de páginas del informe es mayor que 25!"_qs));
}

TEST_F(Genelimp, TextModeOnPaperIsOneRawJobWithAFormFeedAPage) {
  RecordingPrintQueue cola;
  Impreso(u"FAC"_qs, u"[CABECERA]\r\nText=5;12;0;Ñandú\r\nText=0;10;3;Abcdef\r\nFont=Arial;30"_qs, u"Oficina 2"_qs,
          u"Texto"_qs);
  Documentos(2);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  EXPECT_TRUE(impresoras.Jobs().isEmpty());
  ASSERT_EQ(cola.jobs.size(), 1);
  EXPECT_EQ(cola.jobs[0].printer, u"Oficina 2"_qs);
  EXPECT_EQ(cola.jobs[0].document, u"Factura"_qs);
  const QByteArray pagina = QByteArray(12, '\n') + "     \xa5" "and\xa3\r" + "\x1bj$\x1bj$" + "Abc\r" + '\f';
  EXPECT_EQ(cola.jobs[0].bytes, pagina + pagina);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

// Two lines a page on a text printer: the full page runs both feet, the
// carried total leaves out the line that asks so, a document without lines
// still has its head and feet; each page ends in a form feed.
TEST_F(Genelimp, PageBreaksThroughBothFeetWithTheirCarriedTotals) {
  RecordingPrintQueue cola;
  Ejecutar(u"ALTER TABLE LTEMPIMP ADD Instrucciones VARCHAR(40) NULL"_qs);
  Impreso(u"FAC"_qs,
          u"[SISTEMA]\r\nInicioLineas=10\r\nFinLineas=12\r\nAlturaLinea=1\r\n[CABECERA]\r\nText=0;0;0;C\r\n"
          "[LINEAS]\r\nCamp=0;0;0;Linea\r\n[PIESUMAYSIGUE]\r\nSuma=0;20;0;Importe;;0.00\r\n"
          "[PIE]\r\nSuma=0;25;0;Importe;;0.00\r\n[PIEPAGINA]\r\nText=0;30;0;P"_qs,
          u"Oficina 2"_qs, u"Texto"_qs);
  Documentos(2);
  Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo, Importe, Instrucciones) VALUES "
           "(1, 1, 0, 1, NULL), (1, 2, 0, 2, 'Inst=NoSumaYSigue'), (1, 3, 0, 4, '')"_qs);
  Formulario()->ImprimirImpreso();
  ASSERT_EQ(cola.jobs.size(), 1);
  const QString impreso = QString::fromLatin1(cola.jobs[0].bytes);
  EXPECT_EQ(impreso.count(u'\f'), 3);
  EXPECT_EQ(impreso.split(QRegularExpression(u"[\\x00-\\x1f]+"_qs), Qt::SkipEmptyParts),
            (QStringList{u"C"_qs, u"1"_qs, u"2"_qs, u"1,00"_qs, u"P"_qs, u"C"_qs, u"3"_qs, u"5,00"_qs, u"P"_qs,
                         u"C"_qs, u"0,00"_qs, u"P"_qs}));
}

TEST_F(Genelimp, RawCodesFollowThePageJobOnPaper) {
  RecordingPrintQueue cola;
  Impreso(u"FAC"_qs, u"[CABECERA]\r\nAsci=27,64\r\nText=10;10;0;Hola"_qs, u"Oficina 2"_qs);
  Documentos(2);
  Formulario()->ImprimirImpreso();
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  ASSERT_EQ(cola.jobs.size(), 1);
  EXPECT_EQ(cola.jobs[0].printer, u"Oficina 2"_qs);
  EXPECT_EQ(cola.jobs[0].bytes, QByteArray("\x1b@\x1b@"));
}

TEST_F(Genelimp, ThePreviewPageHoldsWhatTheCommandsDrawAndNoRawCodes) {
  RecordingPrintQueue cola;
  Impreso(u"FAC"_qs, u"[CABECERA]\r\nAsci=27,64\r\nText=10;10;0;Hola"_qs, u"Oficina 2"_qs);
  Documentos(1);
  VisualizarEnPantalla = true;
  auto formulario = Formulario();
  QImage pagina;
  AlMostrarse(*formulario, [&] { pagina = formulario->PaginasImpreso().Page(1).cells.at(0).picture; });
  formulario->ImprimirImpreso();
  EXPECT_TRUE(cola.jobs.isEmpty());
  ASSERT_FALSE(pagina.isNull());
  const int x = formulario->Ejecucion().geometria.PixelesPaginaX(10);
  const int y = formulario->Ejecucion().geometria.PixelesPaginaY(10);
  bool tinta = false;
  for (int dy = 0; dy < 20; ++dy)
    for (int dx = 0; dx < 40; ++dx) tinta = tinta || pagina.pixel(x + dx, y + dy) != qRgb(255, 255, 255);
  EXPECT_TRUE(tinta);
}

TEST_F(Genelimp, ARawJobTheQueueRefusesIsReported) {
  RecordingPrintQueue cola;
  cola.accept = false;
  Impreso(u"FAC"_qs, u"[CABECERA]\r\nText=0;0;0;A"_qs, u"Oficina 2"_qs, u"Texto"_qs);
  Documentos(1);
  mensajes.Expect(u"A"_qs);
  Formulario()->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_TRUE(mensajes.Messages()[0].text.contains(u"No se ha podido iniciar la impresión en Oficina 2"_qs));
}

TEST_F(Genelimp, AMemoInTheLinesGoesOnInContinuationRowsWrittenOnce) {
  RecordingPrintQueue cola;
  DocumentoConMemo();
  const QByteArray blancos(20, ' ');
  const QByteArray esperado = "\n\nuno \r" + blancos + "1\r" + QByteArray(30, ' ') + "T\r" + "\ndos \r" + blancos + "1\r" +
                              "\ntres \r" + blancos + "1\r" + "\nx \r" + blancos + "2\r" + QByteArray(30, ' ') + "T\r" + '\f';
  auto formulario = Formulario();
  for (int vez = 0; vez < 2; ++vez) {
    formulario->ImprimirImpreso();
    ASSERT_EQ(cola.jobs.size(), vez + 1);
    EXPECT_EQ(cola.jobs[vez].bytes, esperado) << "run " << vez + 1;
  }
  EXPECT_EQ(formulario->LTemporal->RecordCount(), 4);
}

// A memo of more rows than any window of the table: each run first removes
// the former run's rows, all of them, and the second run prints the same.
TEST_F(Genelimp, AReprintedMemoOfThousandsOfParagraphsLeavesExactlyItsNewRows) {
  RecordingPrintQueue cola;
  DocumentoConMemo();
  QStringList parrafos;
  for (int n = 1; n <= 5000; ++n) parrafos << u"p%1"_qs.arg(n);
  Ejecutar(u"UPDATE LTEMPIMP SET Notas = '%1' WHERE Linea = 1"_qs.arg(parrafos.join(u"\r\n"_qs)));
  auto formulario = Formulario();
  for (int vez = 0; vez < 2; ++vez) {
    formulario->ImprimirImpreso();
    ASSERT_EQ(cola.jobs.size(), vez + 1);
    EXPECT_EQ(formulario->LTemporal->RecordCount(), 5001) << "run " << vez + 1;
  }
  EXPECT_EQ(cola.jobs[1].bytes, cola.jobs[0].bytes);
  EXPECT_TRUE(cola.jobs[0].bytes.contains("\np4999\r                    1\r\np5000\r"));
  Table continuaciones;
  continuaciones.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  continuaciones.SetTableName(u"LTEMPIMP"_qs);
  continuaciones.SetFilter(u"LineaMemo > 0"_qs);
  continuaciones.SetFiltered(true);
  continuaciones.Open();
  EXPECT_EQ(continuaciones.RecordCount(), 4999);
}

// The database refuses the first continuation row: one warning gives its
// reason, the memo's other rows go back with it and the run ends there,
// sending nothing to the printer.
TEST_F(Genelimp, AContinuationRowThatCannotBeWrittenEndsTheRunWithOneWarning) {
  RecordingPrintQueue cola;
  DocumentoConMemo();
  Session::Default().OpenDatabase(BaseDatosBDE(u"Database"_qs))->Execute(
      u"CREATE TRIGGER Rechazo BEFORE INSERT ON LTEMPIMP WHEN NEW.LineaMemo = 1 BEGIN SELECT RAISE(ABORT, 'fila rechazada'); END"_qs);
  mensajes.Expect(u"A"_qs);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(u"Imposible grabar el registro. Motivo: "_qs));
  EXPECT_TRUE(mensajes.Messages()[0].text.contains(u"fila rechazada"_qs)) << mensajes.Messages()[0].text.toStdString();
  EXPECT_TRUE(cola.jobs.isEmpty()) << cola.jobs.value(0).bytes.toStdString();
  EXPECT_EQ(formulario->LTemporal->RecordCount(), 2);
}

// Far more continuation rows than a small integer holds: each run writes
// them all, without a word, and prints the same.
TEST_F(Genelimp, AMemoOfFortyThousandParagraphsIsReprintedWhole) {
  RecordingPrintQueue cola;
  DocumentoConMemo();
  // Each paragraph named in base 36, short enough for the memo's box.
  const auto parrafo = [](int n) { return u"p"_qs + QString::number(n, 36); };
  QStringList parrafos;
  for (int n = 1; n <= 40000; ++n) parrafos << parrafo(n);
  Ejecutar(u"UPDATE LTEMPIMP SET Notas = '%1' WHERE Linea = 1"_qs.arg(parrafos.join(u"\r\n"_qs)));
  auto formulario = Formulario();
  for (int vez = 0; vez < 2; ++vez) {
    formulario->ImprimirImpreso();
    ASSERT_EQ(cola.jobs.size(), vez + 1);
    EXPECT_EQ(formulario->LTemporal->RecordCount(), 40001) << "run " << vez + 1;
  }
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_EQ(cola.jobs[1].bytes, cola.jobs[0].bytes);
  const QByteArray fila = "\r" + QByteArray(20, ' ') + "1\r";
  EXPECT_EQ(cola.jobs[0].bytes.count(fila), 40000);
  for (const int n : {32767, 39999})
    EXPECT_TRUE(cola.jobs[0].bytes.contains('\n' + parrafo(n).toLatin1() + ' ' + fila + '\n' + parrafo(n + 1).toLatin1()))
        << n;
  EXPECT_EQ(Session::Default()
                .OpenDatabase(BaseDatosBDE(u"Database"_qs))
                ->QueryRows(u"SELECT COUNT(*), MAX(LineaMemo) FROM LTEMPIMP WHERE LineaMemo > 0"_qs)
                .rows.value(0),
            (QVariantList{39999, 39999}));
}

// A caller's line table whose memo row is a small integer: the first row
// past what it holds ends the run with one warning, none of the memo's rows
// stays and the printer gets no job.
TEST_F(Genelimp, ALineTableThatCannotHoldTheRowNumberEndsTheRunWithOneWarning) {
  RecordingPrintQueue cola;
  Ejecutar(u"DROP TABLE LTEMPIMP"_qs);
  Ejecutar(u"CREATE TABLE LTEMPIMP (CodigoTemporal INTEGER, Linea SMALLINT, LineaMemo SMALLINT, Importe FLOAT NULL, "
           "CONSTRAINT LTEMPIMP_Clave1 PRIMARY KEY (CodigoTemporal, Linea, LineaMemo))"_qs);
  DocumentoConMemo();
  QStringList parrafos;
  for (int n = 1; n <= 32770; ++n) parrafos << u"p%1"_qs.arg(n);
  Ejecutar(u"UPDATE LTEMPIMP SET Notas = '%1' WHERE Linea = 1"_qs.arg(parrafos.join(u"\r\n"_qs)));
  mensajes.Expect(u"A"_qs);
  auto formulario = Formulario();
  formulario->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(u"Imposible grabar el registro. Motivo: 32768"_qs))
      << mensajes.Messages()[0].text.toStdString();
  EXPECT_TRUE(cola.jobs.isEmpty()) << cola.jobs.value(0).bytes.toStdString();
  EXPECT_EQ(formulario->LTemporal->RecordCount(), 2);
  EXPECT_TRUE(impresoras.Jobs().isEmpty());
}

// A printer that stops at the second page: the job was begun, so the
// warning says it did not complete.
TEST_F(Genelimp, APrinterFailingHalfwaySaysTheJobDidNotComplete) {
  impresoras.failAtPage = 2;
  Impreso(u"FAC"_qs, QString::fromUtf8(Factura), u"Oficina 2"_qs);
  Documentos(2);
  mensajes.Expect(u"A"_qs);
  Formulario()->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_EQ(mensajes.Messages()[0].text, u"No se ha podido completar la impresión en Oficina 2"_qs);
}

// Each job starts its lines area at 0; within a job a printout that does not
// set it keeps the former printout's.
TEST_F(Genelimp, TheLinesAreaStartsAtZeroInEachJob) {
  RecordingPrintQueue cola;
  Impreso(u"A"_qs, u"[SISTEMA]\r\nInicioLineas=3\r\nFinLineas=9999\r\nAlturaLinea=1\r\n[LINEAS]\r\nText=0;0;0;L"_qs,
          u"Oficina 2"_qs, u"Texto"_qs);
  Impreso(u"B"_qs, u"[SISTEMA]\r\nAlturaLinea=1\r\nFinLineas=9999\r\n[LINEAS]\r\nText=0;0;0;L"_qs, u"Oficina 2"_qs,
          u"Texto"_qs);
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal, CodigoImpreso) VALUES (1, NULL), (2, 'B')"_qs);
  Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo) VALUES (1, 1, 0), (2, 1, 0)"_qs);
  auto formulario = Formulario();
  CodigoImpresoActual = u"A"_qs;
  formulario->ImprimirImpreso();
  Ejecutar(u"DELETE FROM TEMPIMP WHERE CodigoTemporal = 1"_qs);
  formulario->Temporal->Refresh();
  CodigoImpresoActual = u"B"_qs;
  formulario->ImprimirImpreso();
  ASSERT_EQ(cola.jobs.size(), 2);
  EXPECT_EQ(cola.jobs[0].bytes, "\n\n\nL\r\f\n\n\nL\r\f");
  EXPECT_EQ(cola.jobs[1].bytes, "L\r\f");
}

// "Print to file" chosen in the dialog: the job goes to that file and no
// printer sees any of it, neither the pages nor the raw codes.
class ImpresoEnArchivo : public Genelimp {
 protected:
  // FAC in the given mode over the given documents, the dialog choosing the file.
  std::unique_ptr<TfGENELIMP> Imprimir(const QString& modo, const QString& programa, int documentos,
                                       const QString& archivo) {
    Impreso(u"FAC"_qs, programa, u"Predeterminada"_qs, modo);
    Documentos(documentos);
    PrintSettings eleccion;
    eleccion.OutputFile = archivo;
    dialogos.ExpectPrint(true, eleccion);
    auto formulario = Formulario();
    formulario->ImprimirImpreso();
    EXPECT_TRUE(impresoras.Jobs().isEmpty());
    EXPECT_TRUE(cola.jobs.isEmpty());
    EXPECT_TRUE(cola.pdfJobs.isEmpty());
    return formulario;
  }

  static QByteArray Contenido(const QString& archivo) {
    QFile leido(archivo);
    return leido.open(QIODevice::ReadOnly) ? leido.readAll() : QByteArray();
  }

  void NoSePuedeEscribir(const QString& modo);

  RecordingPrintQueue cola;
};

TEST_F(ImpresoEnArchivo, PagesGoToThePdfChosenAndTheRawCodesNowhere) {
  const QString archivo = carpeta.File(u"factura.pdf"_qs);
  const auto formulario = Imprimir(u"Grafico"_qs, u"[CABECERA]\r\nAsci=27,64\r\nText=10;10;0;Hola"_qs, 2, archivo);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_EQ(formulario->ImpresoraActual, archivo);
  EXPECT_EQ(PdfInfo(archivo).value(u"Pages"_qs).toInt(), 2);
  const std::vector<PdfWord> palabras = PdfWords(archivo);
  EXPECT_EQ(std::count_if(palabras.begin(), palabras.end(), [](const PdfWord& p) { return p.text == u"Hola"; }), 2);
}

// A text printer's job is its own bytes: they are what the file keeps.
TEST_F(ImpresoEnArchivo, ATextJobIsWrittenToTheFileAsThePrinterWouldTakeIt) {
  const QString archivo = carpeta.File(u"factura.prn"_qs);
  const auto formulario = Imprimir(u"Texto"_qs, u"[CABECERA]\r\nText=0;1;0;Hola"_qs, 2, archivo);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_EQ(formulario->ImpresoraActual, archivo);
  EXPECT_EQ(Contenido(archivo), QByteArray("\nHola\r\f\nHola\r\f"));
}

// Said as a printer that cannot start, and no file is left half written.
void ImpresoEnArchivo::NoSePuedeEscribir(const QString& modo) {
  const QString archivo = carpeta.File(u"no/existe/factura.pdf"_qs);
  mensajes.Expect(u"A"_qs);
  Imprimir(modo, u"[CABECERA]\r\nText=0;1;0;Hola"_qs, 1, archivo);
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_EQ(mensajes.Messages()[0].text, u"No se ha podido iniciar la impresión en "_qs + archivo);
  EXPECT_FALSE(QFile::exists(archivo));
}

TEST_F(ImpresoEnArchivo, APdfThatCannotBeWrittenIsSaid) { NoSePuedeEscribir(u"Grafico"_qs); }
TEST_F(ImpresoEnArchivo, ATextFileThatCannotBeWrittenIsSaid) { NoSePuedeEscribir(u"Texto"_qs); }
