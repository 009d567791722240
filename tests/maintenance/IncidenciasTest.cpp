#include "core/datamodule/SalidaInforme.h"
#include "core/startup/Configuracion.h"
#include "core/system/Incidencias.h"
#include "maintenance/Genecina.h"
#include "maintenance/Geneinap.h"
#include "maintenance/Geqrlina.h"
#include "platform/controls/DBChoiceControls.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/Field.h"
#include "platform/report/Band.h"
#include "platform/report/RecordedPages.h"
#include "platform/report/ReportEngine.h"
#include "printing/Geneprev.h"
#include "tests/dialogs/BusquedaFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

namespace {

// INCAPLIC of the general database, with the incidents a test adds.
class Incidencias : public BusquedaFixture {
 protected:
  void SetUp() override {
    Preparar();
  }
  // Incidents desde..hasta, their texts as given.
  void Agregar(int desde, int hasta, const QString& descripcion = u"Falla al grabar"_qs) {
    QString sql;
    for (int numero = desde; numero <= hasta; ++numero)
      sql += u"INSERT INTO INCAPLIC (NumeroIncidencia, Fecha, Hora, CodigoUsuario, Descripcion, Condiciones, "
             "Programa) VALUES (%1, '2024-03-05 00:00:00', '1899-12-30 10:20:30', 'ANA', '%2', "
             "'Al pulsar\r\nConforme', 'Clientes %1'); "_qs.arg(numero)
                 .arg(QString(descripcion).replace(u"'"_qs, u"''"_qs));
    Ejecutar(sql, u"DatabaseGeneral"_qs);
  }
  int Filas() {
    return EjecutarSQL(u"SELECT COUNT(*) FROM INCAPLIC"_qs, u"DatabaseGeneral"_qs).trimmed().toInt();
  }

};

}  // namespace

TEST_F(Incidencias, ANewIncidentTakesTheNextNumberAndTheDefaults) {
  EXPECT_EQ(Filas(), 0);  // made from the shipped definitions
  TfGENEINAP entrada;
  EXPECT_FALSE(entrada.findChild<QAction*>(u"CopiarRegistrosaOtrasEmpresas1"_qs)->isVisible());
  EXPECT_FALSE(entrada.findChild<QAction*>(u"DocumentacionElectronica1"_qs)->isEnabled());
  Table& tabla = *entrada.Table1;
  const auto nuevo = [&] {
    entrada.AgregarClick();
    return tabla.FieldByName(u"NumeroIncidencia"_qs).AsInteger();
  };
  EXPECT_EQ(nuevo(), 1);
  EXPECT_EQ(tabla.FieldByName(u"CodigoUsuario"_qs).AsString(), u"ANA"_qs);
  EXPECT_FALSE(tabla.FieldByName(u"Fecha"_qs).IsNull());
  EXPECT_TRUE(QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d$"_qs).match(tabla.FieldByName(u"Hora"_qs).Text()).hasMatch());
  // This platform's name is kept, and shows as no choice.
  EXPECT_EQ(tabla.FieldByName(u"SistemaOperativo"_qs).AsString(), u"Desconocida"_qs);
  EXPECT_EQ(entrada.findChild<DBComboBox*>(u"EditSistemaOperativo"_qs)->currentIndex(), -1);
  tabla.FieldByName(u"Descripcion"_qs).SetAsString(u"No imprime\r\n50% de 'O'Neill_x'"_qs);
  tabla.Post();
  Agregar(10, 10);
  tabla.Refresh();
  EXPECT_EQ(nuevo(), 11);  // over the gap
  tabla.Cancel();
  // "Agregar con Duplicación" copies the record shown when the command was given.
  tabla.First();
  entrada.findChild<QAction*>(u"Agregar"_qs)->setText(u"&Agregar con Duplicación"_qs);
  EXPECT_EQ(nuevo(), 11);
  EXPECT_EQ(tabla.FieldByName(u"Descripcion"_qs).AsString(), u"No imprime\r\n50% de 'O'Neill_x'"_qs);
  tabla.Post();
  EXPECT_EQ(Filas(), 3);
  entrada.show();
  EXPECT_FALSE(CapturaFormulario(entrada, u"GENEINAP"_qs).isNull());
}

TEST_F(Incidencias, TheTimeShowsAsATimeFromTheOpening) {
  Agregar(1, 2);
  TfGENEINAP entrada;
  const auto* hora = entrada.findChild<DBEdit*>(u"EditHora"_qs);
  EXPECT_EQ(hora->text(), u"10:20:30"_qs);
  entrada.Table1->Next();
  EXPECT_EQ(hora->text(), u"10:20:30"_qs);
}

TEST_F(Incidencias, NoNumberPastTheLastIsOfferedOrSaved) {
  Agregar(99999999, 99999999);
  TfGENEINAP entrada;
  Table& tabla = *entrada.Table1;
  entrada.AgregarClick();
  EXPECT_TRUE(tabla.FieldByName(u"NumeroIncidencia"_qs).IsNull());
  for (const char* numero : {"100000000", "0", ""}) {
    SCOPED_TRACE(numero);
    tabla.FieldByName(u"NumeroIncidencia"_qs).SetAsString(QString::fromLatin1(numero));
    mensajes.Expect(u"A"_qs);
    EXPECT_ANY_THROW(tabla.Post());
    EXPECT_EQ(mensajes.Texts().last(), u"¡ El valor debe estar entre 1 y 99999999 !"_qs);
    EXPECT_EQ(Filas(), 1);
  }
  tabla.FieldByName(u"NumeroIncidencia"_qs).SetAsInteger(5);
  tabla.Post();
  EXPECT_EQ(EjecutarSQL(u"SELECT NumeroIncidencia FROM INCAPLIC ORDER BY NumeroIncidencia"_qs, u"DatabaseGeneral"_qs),
            u"5\r\n99999999"_qs);
}

// The key's edit takes the eight digits the save accepts, no more.
TEST_F(Incidencias, TheNumberEditTakesEightDigits) {
  Agregar(99999999, 99999999);
  TfGENEINAP entrada;
  auto* numero = entrada.findChild<DBEdit*>(u"EditNumeroIncidencia"_qs);
  entrada.show();
  entrada.AgregarClick();
  numero->setFocus();
  QTest::keyClicks(numero, u"1234567890"_qs);
  EXPECT_EQ(numero->text(), u"12345678"_qs);
}

TEST_F(Incidencias, QuickFiltersAccumulateAsTheEngineReadsThem) {
  Agregar(1, 100);
  const QString memo = u"Línea 'a' 50% _b_\r\n"_qs.repeated(50000);
  Agregar(101, 101, memo);
  TfGENECINA consulta;
  // A memo of a megabyte is read back whole; its grid line is cut at 200 characters.
  consulta.Table1->Last();
  EXPECT_EQ(consulta.Table1->FieldByName(u"Descripcion"_qs).AsString(), memo);
  EXPECT_EQ(consulta.Table1->FieldByName(u"DescripcionStr"_qs).AsString(),
            QString(memo).replace(u"\r\n"_qs, u". "_qs).left(200));
  DBGrid& rejilla = *consulta.findChild<DBGrid*>(u"DBGrid1"_qs);
  rejilla.SetSelectedIndex(0);
  mensajes.Expect(u"P"_qs, u"10"_qs).Expect(u"P"_qs, u"20"_qs);
  consulta.FiltrarRegistrosporValorClick(TfGENECINA::Desde);
  consulta.FiltrarRegistrosporValorClick(TfGENECINA::Hasta);
  EXPECT_EQ(consulta.Table1->Filter(), u"(NumeroIncidencia >= '10') AND (NumeroIncidencia <= '20')"_qs);
  int filas = 0;
  for (consulta.Table1->First(); !consulta.Table1->Eof(); consulta.Table1->Next()) ++filas;
  EXPECT_EQ(filas, 11);
  // A calculated column, or a table being edited, asks nothing.
  rejilla.SetSelectedIndex(static_cast<int>(consulta.Table1->FieldByName(u"DescripcionStr"_qs).Index()));
  consulta.FiltrarRegistrosporValorClick(TfGENECINA::IgualA);
  rejilla.SetSelectedIndex(0);
  consulta.Table1->Edit();
  consulta.FiltrarRegistrosporValorClick(TfGENECINA::IgualA);
  consulta.Table1->Cancel();
  // A quote makes a filter the engine cannot read: the warning, and the filter as it was.
  mensajes.Expect(u"P"_qs, u"O'Neill"_qs).Expect(u"A"_qs);
  consulta.FiltrarRegistrosporValorClick(TfGENECINA::IgualA);
  EXPECT_EQ(mensajes.Texts().last(), u"¡No ha sido posible filtrar registros!"_qs);
  EXPECT_EQ(consulta.Table1->Filter(), u"(NumeroIncidencia >= '10') AND (NumeroIncidencia <= '20')"_qs);
  EXPECT_TRUE(consulta.Table1->Filtered());
  consulta.Table1->First();
  EXPECT_EQ(consulta.Table1->FieldByName(u"CondicionesStr"_qs).AsString(), u"Al pulsar. Conforme"_qs);
  EXPECT_EQ(consulta.Table1->FieldByName(u"Hora"_qs).Text(), u"10:20:30"_qs);
  consulta.show();
  EXPECT_EQ(CapturaFormulario(consulta, u"GENECINA"_qs).size(), consulta.screen()->availableGeometry().size());
  // A date is typed as the user reads it, and compared as a date.
  Ejecutar(u"UPDATE INCAPLIC SET Fecha = '2024-11-02 00:00:00' WHERE NumeroIncidencia >= 96"_qs, u"DatabaseGeneral"_qs);
  consulta.Table1->SetFiltered(false);
  consulta.Table1->SetFilter(QString());
  consulta.Table1->Refresh();
  rejilla.SetSelectedIndex(static_cast<int>(consulta.Table1->FieldByName(u"Fecha"_qs).Index()));
  mensajes.Expect(u"P"_qs, u"10/03/2024"_qs);
  consulta.FiltrarRegistrosporValorClick(TfGENECINA::Desde);
  EXPECT_EQ(consulta.Table1->Filter(), u"(Fecha >= '10/03/2024')"_qs);
  filas = 0;
  for (consulta.Table1->First(); !consulta.Table1->Eof(); consulta.Table1->Next()) ++filas;
  EXPECT_EQ(filas, 6);  // 96 to 101
}

TEST_F(Incidencias, TheReportPrintsOneIncidentAPageInsideItsFrames) {
  Agregar(1, 4);
  Agregar(5, 7, QString(50000, u'x').replace(100, 1, u' '));
  Agregar(8, 9);
  IncidenciaDesde = 5;
  IncidenciaHasta = 7;
  EmpresaActual = 1;
  Ejecutar(u"DELETE FROM EMPRESA; INSERT INTO EMPRESA (Codigo, Nombre) VALUES (1, 'Talleres Ñandú')"_qs,
           u"DatabaseGeneral"_qs);
  TfGEQRLINA informe;
  const QString archivo = carpeta.File(u"incidencias.pdf"_qs);
  GenerarSalidaInforme(informe.QuickReport(), u"PDF:"_qs + archivo);
  EXPECT_EQ(PdfInfo(archivo).value(u"Pages"_qs).toInt(), 3);
  if (const QString capturas = qEnvironmentVariable("ZEMWIN_CAPTURAS"); !capturas.isEmpty())
    QFile::copy(archivo, QDir(capturas).filePath(u"GEQRLINA.pdf"_qs));
  QStringList palabras;
  for (const PdfWord& palabra : PdfWords(archivo))
    if (palabra.page == 2) palabras << palabra.text;
  for (const QString& esperada : {u"Ñandú"_qs, u"Identificación"_qs, u"Origen"_qs, u"Observaciones"_qs, u"Clientes"_qs, u"6"_qs,
                                  u"10:20:30"_qs, u"05/03/2024"_qs, u"Página"_qs})
    EXPECT_TRUE(palabras.contains(esperada)) << esperada.toStdString();
  // The long description ends at its frame, above the next block.
  RecordedPages paginas;
  informe.QuickReport().Run(paginas);
  const ReportItem& marco = *informe.QuickReport().FindItem(u"MarcoDescripcion"_qs);
  const PageRecord pagina = paginas.Page(1);
  double fondoMarco = 0;
  double fondoTexto = 0;
  for (const PageCell& celda : pagina.cells) {
    if (celda.item == u"MarcoDescripcion"_qs) fondoMarco = celda.rect.bottom();
    if (celda.item == u"QRDescripcion"_qs) fondoTexto = std::max(fondoTexto, celda.rect.bottom());
  }
  EXPECT_GT(fondoTexto, fondoMarco - marco.Height);
  EXPECT_LE(fondoTexto, fondoMarco);
  // A number that does not exist prints nothing.
  IncidenciaDesde = IncidenciaHasta = 50;
  const QString vacio = carpeta.File(u"vacio.pdf"_qs);
  GenerarSalidaInforme(informe.QuickReport(), u"PDF:"_qs + vacio);
  EXPECT_FALSE(QFile::exists(vacio));
}

// The report speaks the user's language, its designed texts translated once at each run.
TEST_F(Incidencias, TheReportIsTranslatedAtEachRun) {
  Agregar(1, 1);
  Ejecutar(u"INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES "
           "('EN', 'Informe de Incidencias de la Aplicación', 'Incidents'), ('EN', 'Origen', 'Origin'), "
           "('EN', 'Origin', 'Retranslated'), ('EN', 'Número Incidencia:', 'Number:')"_qs,
           u"DatabaseGeneral"_qs);
  IdiomaActual = u"EN"_qs;
  IncidenciaDesde = IncidenciaHasta = 1;
  TfGEQRLINA informe;
  for (int vez = 0; vez < 2; ++vez) {
    RecordedPages paginas;
    ASSERT_EQ(informe.QuickReport().Run(paginas), 1);
    const QStringList textos = TextsOf(paginas.Page(1));
    for (const QString& esperado : {u"Incidents"_qs, u"Origin"_qs, u"Number:"_qs, u"Observaciones"_qs})
      EXPECT_TRUE(textos.contains(esperado)) << vez << " " << esperado.toStdString();
    EXPECT_FALSE(textos.contains(u"Retranslated"_qs)) << vez;
  }
}

TEST_F(Incidencias, PrintingFromTheEntryAsksForThePreview) {
  Agregar(1, 3);
  TfGENEINAP entrada;
  entrada.Table1->Last();
  int paginas = 0;
  QTimer cerrar;
  cerrar.callOnTimeout([&] {
    if (!fGENEPREV || fGENEPREV->EstadoInforme != u"Finalizada"_qs) return;
    paginas = fGENEPREV->NumeroPaginas();
    fGENEPREV->close();
  });
  cerrar.start(10);
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  entrada.findChild<QPushButton*>(u"pbImprimir"_qs)->click();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¿Desea realizar una visualización previa?"_qs});
  EXPECT_EQ(paginas, 1);
  EXPECT_EQ((std::vector<int>{IncidenciaDesde, IncidenciaHasta}), (std::vector<int>{3, 3}));
}

// A job that cannot start fails with its own reason; the form keeps its incident.
TEST_F(Incidencias, APrintThatCannotStartLeavesTheFormAsItWas) {
  Agregar(1, 2);
  TfGENEINAP entrada;
  entrada.Table1->Last();
  RecordingPrinter impresoras({}, carpeta.File(u"no/existe"_qs));
  ScriptedDialogs dialogos;
  dialogos.ExpectPrint(true);
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  EXPECT_THROW(entrada.pbImprimirClick(), Exception);
  EXPECT_EQ(entrada.Table1->State(), dsBrowse);
  EXPECT_EQ(entrada.Table1->FieldByName(u"NumeroIncidencia"_qs).AsInteger(), 2);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Incidencias, CapturingAnIncidentWritesNoRecord) {
  Agregar(1, 2);
  CapturarIncidencia(u"Actualización de la Base de Datos"_qs, u"Resultado"_qs);
  CapturarIncidencia(u"Traspaso de Datos"_qs);
  EXPECT_EQ(Filas(), 2);
}

TEST_F(Incidencias, ANumberTakenMeanwhileKeepsTheNewIncidentToBeRenumbered) {
  EXPECT_EQ(Filas(), 0);
  TfGENEINAP entrada;
  Table& tabla = *entrada.Table1;
  entrada.AgregarClick();
  tabla.FieldByName(u"Descripcion"_qs).SetAsString(u"Mi incidencia"_qs);
  Agregar(1, 1);  // another user saved number 1 first
  mensajes.Expect(u"A"_qs);
  entrada.pbConformeClick();
  EXPECT_EQ(tabla.State(), dsInsert);
  EXPECT_EQ(tabla.FieldByName(u"Descripcion"_qs).AsString(), u"Mi incidencia"_qs);
  tabla.FieldByName(u"NumeroIncidencia"_qs).SetAsInteger(2);
  entrada.pbConformeClick();
  EXPECT_EQ(EjecutarSQL(u"SELECT Descripcion FROM INCAPLIC WHERE NumeroIncidencia = 2"_qs, u"DatabaseGeneral"_qs).trimmed(),
            u"Mi incidencia"_qs);
}

TEST_F(Incidencias, EscFromTheGridOrAButtonClosesTheConsultationWhichHasACloseBox) {
  Agregar(1, 3);
  for (const char* control : {"DBGrid1", "SpeedButton2"}) {
    TfGENECINA consulta;
    EXPECT_TRUE(consulta.windowFlags().testFlag(Qt::WindowTitleHint) &&
                consulta.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    consulta.show();
    QApplication::setActiveWindow(&consulta);
    auto* foco = consulta.findChild<QWidget*>(QLatin1String(control));
    foco->setFocus();
    QTest::keyClick(foco, Qt::Key_Escape);
    EXPECT_FALSE(consulta.isVisible()) << control;
  }
}

// The consultation's column titles read whole ("NumeroIncidencia",
// "SistemaOperativo"...): each column is at least as wide as its title.
TEST_F(Incidencias, TheConsultationsTitlesReadWhole) {
  Agregar(1, 3);
  TfGENECINA consulta;
  consulta.show();
  auto* rejilla = consulta.findChild<DBGrid*>(u"DBGrid1"_qs);
  ASSERT_NE(rejilla, nullptr);
  const QFontMetrics letra(rejilla->horizontalHeader()->font());
  int vistas = 0;
  for (int columna = 0; columna < rejilla->ColumnCount(); ++columna) {
    if (rejilla->isColumnHidden(columna)) continue;
    ++vistas;
    const QString titulo = rejilla->ColumnTitle(columna);
    EXPECT_GT(rejilla->columnWidth(columna), letra.horizontalAdvance(titulo)) << titulo.toStdString();
  }
  EXPECT_GE(vistas, 10);
}
