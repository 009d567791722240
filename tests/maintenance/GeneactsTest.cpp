#include "maintenance/Geneacts.h"

#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/maintenance/ActualizacionFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace {

const QString kVacia = u"La Lista de Tablas a actualizar está vacía. Solo se crearán las tablas no existentes. \r\n"
                       "¿Está seguro de que desea continuar?"_qs;

class Geneacts : public ActualizacionFixture {
 protected:
  void SetUp() override {
    ActualizacionFixture::SetUp();
    TextFile::Write(carpeta.File(u"DATOS/DATABASE.TXT"_qs), QString::fromLatin1(kScripts));
    IniFile(ArchivoINI).WriteString(u"Backup MS SQL Server"_qs, u"UbicacionArchivosCopia"_qs, copias);
    formulario = std::make_unique<TfGENEACTS>();
  }
  template <class T>
  T& C(const char* nombre) {
    T* control = formulario->findChild<T*>(QLatin1String(nombre));
    EXPECT_NE(control, nullptr) << nombre;
    return *control;
  }
  QString Pagina() { return C<QStackedWidget>("PageControl").currentWidget()->objectName(); }
  QString Clave(const char* seccion, const char* clave) {
    return IniFile(ArchivoINI).ReadString(QString::fromUtf8(seccion), QLatin1String(clave), u"(ninguna)"_qs);
  }

  std::unique_ptr<TfGENEACTS> formulario;
};

}  // namespace

TEST_F(Geneacts, EachStepChecksWhatItTakesAndTheLastRunsTheUpdate) {
  EXPECT_EQ(Pagina(), u"PagCopiaSeguridad"_qs);
  EXPECT_EQ(C<QLineEdit>("DirectorioCopiaSeguridad").text(), copias);
  EXPECT_EQ(C<QLineEdit>("ActualizarDesdeFecha").text(), u"01/01/2026"_qs);
  EXPECT_TRUE(C<QLineEdit>("NombreArchivoCfgEspecial").text().endsWith(u"DATOS/DATABASE.ESP"_qs));

  // Step 1: the folder must exist while the backup is asked for.
  C<QLineEdit>("DirectorioCopiaSeguridad").setText(copias + u"/NOHAY"_qs);
  mensajes.Expect(u"A"_qs);
  formulario->pbSiguienteClick();
  EXPECT_EQ(mensajes.Texts().last(), u"¡El directorio de Copia de Seguridad no existe!"_qs);
  C<QCheckBox>("RealizarCopiaSeguridad").click();
  EXPECT_FALSE(C<QLineEdit>("DirectorioCopiaSeguridad").isEnabled() || C<QPushButton>("pbExaminar1").isEnabled());
  formulario->pbSiguienteClick();
  EXPECT_EQ(Pagina(), u"PagInstrucciones"_qs);
  formulario->pbAnteriorClick();
  C<QCheckBox>("RealizarCopiaSeguridad").click();
  C<QLineEdit>("DirectorioCopiaSeguridad").setText(copias);
  formulario->pbSiguienteClick();

  // Step 2: the scripts and the from-date; the collation empties the date.
  C<QLineEdit>("ActualizarDesdeFecha").setText(u"31/02/2026"_qs);
  C<QLineEdit>("NombreArchivoCfg").setText(carpeta.File(u"NOHAY.TXT"_qs));
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs).Expect(u"A"_qs);  // the reading warns of the file first
  formulario->pbSiguienteClick();
  EXPECT_EQ(mensajes.Texts().mid(2), (QStringList{u"¡El archivo de script de la Base de Datos no está disponible!"_qs,
                                                  u"¡El valor de desde fecha es incorrecto!"_qs}));
  EXPECT_EQ(Pagina(), u"PagInstrucciones"_qs);
  C<QLineEdit>("NombreArchivoCfg").setText(carpeta.File(u"DATOS/DATABASE.TXT"_qs));
  C<QCheckBox>("ActualizarLenguajeIntercalacion").click();
  EXPECT_EQ(C<QLineEdit>("ActualizarDesdeFecha").text(), QString());
  EXPECT_FALSE(C<QLineEdit>("ActualizarDesdeFecha").isEnabled());
  C<QCheckBox>("ActualizarLenguajeIntercalacion").click();
  C<QLineEdit>("ActualizarDesdeFecha").setText(u"01/01/2026"_qs);
  formulario->pbSiguienteClick();

  // Step 3: every database and the tables dated since, all chosen.
  EXPECT_EQ(Pagina(), u"PagSeleccion"_qs);
  QListWidget& tablas = C<QListWidget>("ListaTablas");
  ASSERT_EQ(tablas.count(), 2);
  EXPECT_EQ(tablas.selectedItems().size(), 2);
  EXPECT_EQ(C<QListWidget>("ListaBasesDatos").selectedItems().size(), 3);
  tablas.item(0)->setSelected(false);  // ARTICULOS stays as it is: created as missing
  formulario->pbSiguienteClick();
  EXPECT_EQ(Pagina(), u"PagActualizacion"_qs);

  formulario->pbActualizarClick();
  EXPECT_EQ(Pagina(), u"PagFinalizacion"_qs);
  EXPECT_TRUE(C<QPlainTextEdit>("MemoProgreso").toPlainText().endsWith(u"\nFIN DEL PROCESO"_qs));
  EXPECT_EQ(C<QPlainTextEdit>("ListaErrores").toPlainText(), QString());
  EXPECT_EQ(ResultadoActualizacion.trimmed(), C<QPlainTextEdit>("MemoProgreso").toPlainText().replace(u'\n', u"\r\n"_qs));
  EXPECT_EQ(Columnas(u"ZEMEMP2"_qs, u"CLIENTES"_qs), u"Codigo\r\nNombre\r\nTelefono\r\nNuevo\r\nNumero"_qs);
  EXPECT_EQ(Objetos(u"ZEMEMP2"_qs), u"ARTICULOS\r\nCLIENTES\r\nPROVEEDO"_qs);
  EXPECT_TRUE(C<QPushButton>("pbActualizar").isEnabled());
  EXPECT_NE(Clave("Actualización de la Base de Datos", "UltimaFechaActualizacion"), u"01/01/2026"_qs);
}

// An empty table list is asked about on leaving step 3 and again on
// "Actualizar"; a mapping from another version is shown once more.
TEST_F(Geneacts, AnEmptyTableListIsAskedAboutTwice) {
  TextFile::Write(carpeta.File(u"DATOS/DATABASE.TXT"_qs),
                  u"PROVEEDO/C/1/Codigo/ftInteger/0/*/|01/01/2020\r\nPROVEEDO/MAP/2023a/20260101/A,B\r\n"_qs);
  formulario->pbSiguienteClick();
  C<QLineEdit>("ActualizarDesdeFecha").clear();
  formulario->pbSiguienteClick();
  ASSERT_EQ(C<QListWidget>("ListaTablas").count(), 1);
  C<QListWidget>("ListaTablas").clear();
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  formulario->pbSiguienteClick();
  EXPECT_EQ(Pagina(), u"PagSeleccion"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  formulario->pbSiguienteClick();
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  formulario->pbActualizarClick();
  EXPECT_EQ(Pagina(), u"PagActualizacion"_qs);
  EXPECT_EQ(mensajes.Texts(), (QStringList{kVacia, kVacia, kVacia}));
  EXPECT_EQ(Clave("Actualización de la Base de Datos", "UltimaFechaActualizacion"), u"01/01/2026"_qs);
}

TEST_F(Geneacts, CancelWritesNoKey) {
  IniFile(ArchivoINI).WriteString(u"Backup MS SQL Server"_qs, u"UbicacionArchivosCopia"_qs, QString());
  formulario = std::make_unique<TfGENEACTS>();
  EXPECT_FALSE(C<QLineEdit>("DirectorioCopiaSeguridad").text().isEmpty());
  formulario->show();
  formulario->pbSiguienteClick();
  formulario->pbCancelarClick();
  EXPECT_FALSE(formulario->isVisible());
  EXPECT_EQ(Clave("Backup MS SQL Server", "UbicacionArchivosCopia"), QString());
  EXPECT_EQ(Clave("Actualización de la Base de Datos", "UltimaFechaActualizacion"), u"01/01/2026"_qs);
}

TEST_F(Geneacts, BothLogsArePrintedOnThePrinterChosenOnlyWhenTheDialogIsConfirmed) {
  RecordingPrinter impresoras({u"Oficina"_qs, u"Almacen"_qs}, carpeta.Path());
  C<QPlainTextEdit>("MemoProgreso").setPlainText(u"Actualizada ARTICULO"_qs);
  C<QPlainTextEdit>("ListaErrores").setPlainText(u"Fallo PEDIDOS"_qs);
  ScriptedDialogs dialogos;
  dialogos.ExpectPrint(false);
  formulario->pbImprimirClick();
  EXPECT_TRUE(impresoras.Jobs().isEmpty());

  PrintSettings almacen;
  almacen.PrinterIndex = 1;
  dialogos.ExpectPrint(true, almacen);
  formulario->pbImprimirClick();
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  EXPECT_EQ(impresoras.Jobs()[0].printer, u"Almacen"_qs);
  QStringList palabras;
  for (const PdfWord& palabra : PdfWords(impresoras.Jobs()[0].file)) palabras << palabra.text;
  EXPECT_EQ(palabras.join(u' '), u"ACTUALIZACIÓN DE LA BASE DE DATOS Actualizada ARTICULO Fallo PEDIDOS"_qs);
}

// Closing would free the form under its running handler: while the update
// runs "Salir" and the window's closing do nothing and the idle exit waits.
TEST_F(Geneacts, WhileTheUpdateRunsItStaysOpenAndTheIdleExitWaits) {
  fGENEINIC = &Servicios();
  Servicios().TimerAplicacion.SetEnabled(true);
  formulario->show();
  for (int paso = 0; paso < 3; ++paso) formulario->pbSiguienteClick();
  ASSERT_EQ(Pagina(), u"PagActualizacion"_qs);
  int vistas = 0;
  QObject::connect(&C<QPlainTextEdit>("MemoProgreso"), &QPlainTextEdit::textChanged, [&] {
    if (C<QPlainTextEdit>("MemoProgreso").toPlainText().isEmpty()) return;  // the log cleared first
    ++vistas;
    EXPECT_FALSE(formulario->CloseQuery());
    EXPECT_FALSE(Servicios().TimerAplicacion.Enabled());
  });
  formulario->pbActualizarClick();
  formulario->pbSalirClick();
  EXPECT_GT(vistas, 10);
  EXPECT_TRUE(Servicios().TimerAplicacion.Enabled());
  EXPECT_TRUE(formulario->CloseQuery());
  fGENEINIC = nullptr;
}

// Each page as a person sees it; ZEMWIN_CAPTURAS keeps the pictures.
TEST_F(Geneacts, EveryPageIsDrawn) {
  QStackedWidget& paginas = C<QStackedWidget>("PageControl");
  formulario->show();
  QList<QImage> imagenes;
  for (int i = 0; i < paginas.count(); ++i) {
    paginas.setCurrentIndex(i);
    const QImage imagen = formulario->grab().toImage();
    EXPECT_EQ(imagen.size(), QSize(516, 317));
    EXPECT_FALSE(imagenes.contains(imagen)) << i;
    imagenes.append(imagen);
    if (const QString carpetaCapturas = qEnvironmentVariable("ZEMWIN_CAPTURAS"); !carpetaCapturas.isEmpty())
      imagen.save(carpetaCapturas + u"/GENEACTS-"_qs + QString::number(i + 1) + u".png"_qs);
  }
}

// Whatever the letter the machine gives, every caption of every page shows
// its whole text inside its page, the buttons their Alt letter.
TEST_F(Geneacts, EveryCaptionShowsItsWholeTextInsideItsPage) {
  formulario->show();
  const QStackedWidget& paginas = C<QStackedWidget>("PageControl");
  int vistos = 0;
  for (int i = 0; i < paginas.count(); ++i) {
    for (const QAbstractButton* boton : paginas.widget(i)->findChildren<QAbstractButton*>()) {
      if (boton->text().isEmpty()) continue;
      ++vistos;
      EXPECT_GE(boton->width(), boton->sizeHint().width()) << boton->objectName().toStdString();
      EXPECT_LE(boton->x() + boton->width(), boton->parentWidget()->width()) << boton->objectName().toStdString();
      if (qobject_cast<const QPushButton*>(boton)) {
        EXPECT_TRUE(boton->text().contains(u'&')) << boton->objectName().toStdString();
      }
    }
    for (const QLabel* etiqueta : paginas.widget(i)->findChildren<QLabel*>())
      if (!etiqueta->wordWrap() && !etiqueta->text().isEmpty()) {
        EXPECT_GE(etiqueta->width(), etiqueta->sizeHint().width()) << etiqueta->text().toStdString();
      }
  }
  EXPECT_GT(vistos, 20);
}

// The full check is asked for beside the check itself, unticked, and only
// while the tables are checked at all.
TEST_F(Geneacts, TheFullCheckIsOfferedOnlyWhileTheTablesAreChecked) {
  QCheckBox& comprobar = C<QCheckBox>("ComprobarEstadoTablas");
  QCheckBox& completa = C<QCheckBox>("ComprobacionCompleta");
  EXPECT_TRUE(comprobar.isChecked());
  EXPECT_FALSE(completa.isChecked());
  EXPECT_TRUE(completa.isEnabled());
  comprobar.click();
  EXPECT_FALSE(completa.isEnabled());
  comprobar.click();
  EXPECT_TRUE(completa.isEnabled());
  EXPECT_EQ(completa.geometry().top(), comprobar.geometry().top());
  EXPECT_LE(comprobar.geometry().right(), completa.geometry().left());
}
