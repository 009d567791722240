#include "core/startup/Configuracion.h"
#include "dialogs/Genedeta.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTimer>

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

  Visto Mostrar(const QString& texto, const QString& titulo, const QString& opciones) {
    Visto visto;
    QTimer::singleShot(0, [&visto] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return ADD_FAILURE() << "the viewer is not on screen";
      auto* memo = modal->findChild<QPlainTextEdit*>(u"MemoDetalle"_qs);
      visto = {modal->windowTitle(),        modal->size(),         memo->font().family(),
               memo->font().pointSize(),    memo->toPlainText(),   memo->isVisible(),
               modal->findChild<QWidget*>(u"WebBrowserDetalle"_qs)->isVisible()};
      modal->close();
    });
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
