#include "core/forms/ControlesNoVisibles.h"
#include "core/forms/GanchosFormulario.h"
#include "core/startup/Configuracion.h"
#include "dialogs/Genedeta.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// What the viewer showed once on screen, closed at once.
struct Visto {
  QString titulo;
  QSize tamano;
  QString familia;
  int puntos = 0;
  QString texto;
  bool memoVisible = false;
  bool webVisible = false;
};

class Genedeta : public ::testing::Test {
 protected:
  Genedeta() {
    qputenv("TMPDIR", carpeta.Path().toLocal8Bit());
    InstalarVisorDetalle([this](QWidget& panel, const QString& direccion) {
      direcciones.append(panel.objectName() + u'|' + direccion);
    });
  }
  ~Genedeta() override {
    InstalarVisorDetalle({});
    delete fGENEDETA;
    qunsetenv("TMPDIR");
  }

  // What the viewer shows next, once on screen, before it is closed.
  static void AlMostrarse(Visto& visto, bool imprimir = false) {
    QTimer::singleShot(0, [&visto, imprimir] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return ADD_FAILURE() << "the viewer is not on screen";
      if (imprimir) modal->findChild<QToolButton*>(u"pbImprimir"_qs)->click();
      CapturaFormulario(*modal, u"detalle-"_qs + modal->windowTitle());
      auto* memo = modal->findChild<QPlainTextEdit*>(u"MemoDetalle"_qs);
      visto = {modal->windowTitle(),        modal->size(),         memo->font().family(),
               memo->font().pointSize(),    memo->toPlainText(),   memo->isVisible(),
               modal->findChild<QWidget*>(u"WebBrowserDetalle"_qs)->isVisible()};
      modal->close();
    });
  }

  static Visto Mostrar(const QString& texto, const QString& titulo, const QString& opciones, bool imprimir = false) {
    Visto visto;
    AlMostrarse(visto, imprimir);
    MostrarDetalle(texto, titulo, opciones);
    return visto;
  }

  TemporaryFolder carpeta;
  ScriptedPresenter mensajes;
  QStringList direcciones;
};

}  // namespace

TEST_F(Genedeta, ShowsTheTextInTheFontAndSizeAsked) {
  FuenteAplicacion = QFont(u"DejaVu Sans"_qs, 9);
  Visto visto = Mostrar(u"línea 1\r\nlínea 2"_qs, u"Controles No Visibles"_qs, QString());
  EXPECT_EQ(visto.titulo, u"Controles No Visibles"_qs);
  EXPECT_EQ(visto.tamano, QSize(480, 480));
  EXPECT_EQ(visto.familia + QString::number(visto.puntos), u"DejaVu Sans9"_qs);
  EXPECT_EQ(visto.texto, u"línea 1\nlínea 2"_qs);
  EXPECT_TRUE(visto.memoVisible && !visto.webVisible);

  visto = Mostrar(u"x"_qs, u"T"_qs, u"Fuente=Courier New,10\r\nFormato=300,200"_qs);
  EXPECT_EQ(visto.familia + QString::number(visto.puntos), u"Courier New10"_qs);
  EXPECT_EQ(visto.tamano, QSize(300, 200));
  // An unreadable size keeps the one before.
  visto = Mostrar(u"x"_qs, u"T"_qs, u"Fuente=Arial,x"_qs);
  EXPECT_EQ(visto.familia + QString::number(visto.puntos), u"Arial10"_qs);
  EXPECT_TRUE(direcciones.isEmpty());
  FuenteAplicacion.reset();
}

TEST_F(Genedeta, HtmlIsShownFromItsPageFileThroughTheWebView) {
  const QString pagina = PaginaDetalle();
  EXPECT_EQ(QFileInfo(pagina).absolutePath(), QFileInfo(carpeta.Path()).absoluteFilePath());
  // A link left where the page goes is replaced, not written through.
  const QString ajeno = carpeta.Path() + u"/ajeno.txt"_qs;
  TextFile::Write(ajeno, u"de otro"_qs);
  ASSERT_TRUE(QFile::link(ajeno, pagina));
  const Visto visto = Mostrar(u"<b>Peña</b><br>fin"_qs, u"Ayuda"_qs, u"Interprete=HTML"_qs);
  EXPECT_TRUE(visto.webVisible && !visto.memoVisible);
  EXPECT_EQ(direcciones, QStringList{u"WebBrowserDetalle|file://"_qs + pagina});
  EXPECT_FALSE(QFileInfo(pagina).isSymLink());
  QFile escrito(pagina);
  ASSERT_TRUE(escrito.open(QIODevice::ReadOnly));
  EXPECT_EQ(Cp1252::decode(escrito.readAll()), u"<b>Peña</b><br>fin"_qs);
  EXPECT_EQ(TextFile::Read(ajeno), u"de otro"_qs);
  EXPECT_EQ(QDir(carpeta.Path()).entryList(QDir::Files).size(), 2);  // no temporary file left
}

namespace {

const QString kExcede =
    u"Esta información excede la capacidad de visualización. ¿Desea guardar esta información en un archivo? "_qs;

// The printed job's words, a line per height on the page.
QStringList LineasImpresas(const QString& archivo) {
  QStringList lineas;
  double altura = -1;
  for (const PdfWord& palabra : PdfWords(archivo)) {
    if (std::abs(palabra.y - altura) > 2) lineas << palabra.text;
    else lineas.last() += u' ' + palabra.text;
    altura = palabra.y;
  }
  return lineas;
}

}  // namespace

TEST_F(Genedeta, PrintsOnTheChosenPrinterTheCaptionAndTheTextWithoutTags) {
  RecordingPrinter impresoras({u"Oficina"_qs, u"Almacen"_qs}, carpeta.Path());
  const struct {
    const char* opciones;
    const char* texto;
    QStringList lineas;
  } casos[] = {
      {"", "Uno <b>dos</b>\r\ntres", {u"NOTAS DEL DÍA"_qs, u"Uno <b>dos</b>"_qs, u"tres"_qs}},
      {"Interprete=HTML", "<p>Peña <B>dos</B><BR>tres<hr width=\"5\">cuatro</p><br/>",
       {u"NOTAS DEL DÍA"_qs, u"Peña dos"_qs, u"tres"_qs, u"cuatro"_qs}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.opciones);
    const qsizetype antes = impresoras.Jobs().size();
    ScriptedDialogs dialogos;
    dialogos.ExpectPrint(false);
    Mostrar(QString::fromUtf8(caso.texto), u"Notas del día"_qs, QString::fromLatin1(caso.opciones), true);
    EXPECT_EQ(impresoras.Jobs().size(), antes) << "a cancelled print dialog prints nothing";
    PrintSettings almacen;
    almacen.PrinterIndex = 1;
    dialogos.ExpectPrint(true, almacen);
    Mostrar(QString::fromUtf8(caso.texto), u"Notas del día"_qs, QString::fromLatin1(caso.opciones), true);
    ASSERT_EQ(impresoras.Jobs().size(), antes + 1);
    EXPECT_EQ(impresoras.Jobs().last().printer, u"Almacen"_qs);
    EXPECT_EQ(LineasImpresas(impresoras.Jobs().last().file), caso.lineas);
  }
}

TEST_F(Genedeta, ATextTheWindowCannotShowIsOfferedAsAFile) {
  const QString destino = carpeta.File(u"guardado.txt"_qs);
  const struct {
    const char* nombre;
    QString texto;
    const char* opciones;
    const char* respuesta;
    QString elegido;
    bool escrito;
  } casos[] = {
      {"20 MB in lines", QString(u"línea de un informe largo\r\n"_qs).repeated(20 * 1024 * 1024 / 27), "", "SI", destino,
       true},
      {"one character too many", QString(kTextoMaximoDetalle + 1, u'x'), "", "SI", QString(), false},
      {"not wanted", QString(kTextoMaximoDetalle + 1, u'x'), "", "NO", QString(), false},
      {"a page that cannot be written", u"<b>ñ</b>"_qs, "Interprete=HTML", "SI", destino, true},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    QFile::remove(destino);
    // A folder where the page goes: nothing can be renamed over it.
    if (QString::fromLatin1(caso.opciones).contains(u"HTML"_qs)) QDir().mkpath(PaginaDetalle());
    mensajes.Expect(u"C"_qs, QString::fromLatin1(caso.respuesta));
    ScriptedDialogs dialogos;
    if (QLatin1String(caso.respuesta) == u"SI") dialogos.ExpectFile(caso.elegido);
    // Never on screen: a window would wait with nobody to close it.
    MostrarDetalle(caso.texto, u"Informe/2024 ../x"_qs, QString::fromLatin1(caso.opciones));
    EXPECT_EQ(mensajes.Texts().last(), kExcede);
    if (!dialogos.Dialogs().isEmpty()) {
      EXPECT_EQ(dialogos.Dialogs().front().fileName, u"Informe_2024 .._x.TXT"_qs);
    }
    ASSERT_EQ(QFile::exists(destino), caso.escrito);
    if (caso.escrito) {
      EXPECT_EQ(TextFile::Read(destino), caso.texto);
    }
  }
  // The most it takes is shown whole, its one line wrapped anywhere.
  EXPECT_EQ(Mostrar(QString(kTextoMaximoDetalle, u'x'), u"T"_qs, QString()).texto.size(), kTextoMaximoDetalle);
}

TEST_F(Genedeta, TheAdministratorsHiddenControlsAreListedInIt) {
  ModoAdministradorActivado = true;
  ControlesNoVisibles.SetText(u"fCLIENTES.Edit9\r\nfCLIENTES.DBGrid1.Table1Nombre"_qs);
  Ganchos().MostrarDetalle = &MostrarDetalle;
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"P"_qs, QString());
  Visto visto;
  AlMostrarse(visto);
  ListaControlesNoVisibles();
  Ganchos().MostrarDetalle = nullptr;
  ControlesNoVisibles.Clear();
  ModoAdministradorActivado = false;
  EXPECT_EQ(mensajes.Texts().front(), u"¿Desea ver la Lista de Controles No Visibles?"_qs);
  EXPECT_EQ(visto.titulo, u"Controles No Visibles"_qs);
  EXPECT_EQ(visto.texto, u"fCLIENTES.Edit9\nfCLIENTES.DBGrid1.Table1Nombre\n"_qs);
}

// Every key but Esc goes through the suite's key routines: Enter moves on
// from the print button to the accept button and again from there, the
// memo keeps it; Esc closes.
TEST_F(Genedeta, EnterMovesToTheNextControlAndEscCloses) {
  QStringList focos;
  bool abierta = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return ADD_FAILURE() << "the viewer is not on screen";
    QApplication::setActiveWindow(modal);
    auto* imprimir = modal->findChild<QToolButton*>(u"pbImprimir"_qs);
    imprimir->setFocusPolicy(Qt::StrongFocus);
    const auto enter = [&] {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QApplication::processEvents();
      focos << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
    };
    enter();  // in the memo
    imprimir->setFocus();
    enter();
    abierta = modal->isVisible();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    if (modal->isVisible()) {
      ADD_FAILURE() << "Esc did not close it";
      modal->close();
    }
  });
  MostrarDetalle(u"línea 1\r\nlínea 2"_qs, u"Detalle"_qs, QString());
  EXPECT_EQ(focos, (QStringList{u"MemoDetalle"_qs, u"pbConforme"_qs}));
  EXPECT_TRUE(abierta);
}
