#include "core/startup/Configuracion.h"
#include "platform/DesktopServices.h"
#include "platform/TextFile.h"
#include "platform/VisorWeb.h"
#include "shell/Geneacer.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Records where the view is made and sent instead of starting a browser.
struct VisorRegistrado : VisorWeb {
  QWidget* Crear(QWidget& panel) override { return new QWidget(&panel); }
  void Navegar(QWidget& vista, const QString& direccion) override {
    direcciones.append(vista.parentWidget()->objectName() + u'/' + vista.objectName() + u' ' + direccion);
  }
  QStringList direcciones;
  VisorWebSeam::Scoped instalado{*this};
};

// Records what the shell's "open" is asked for.
struct EscritorioRegistrado : DesktopServices {
  bool OpenFile(const QString& path) override {
    abiertos.append(path);
    return true;
  }
  bool OpenUrl(const QString& address) override {
    abiertos.append(address);
    return true;
  }
  QStringList abiertos;
  DesktopServicesSeam::Scoped instalado{*this};
};

class Geneacer : public ::testing::Test {
 protected:
  void SetUp() override { CarpetaPrograma = carpeta.Path() + u'/'; }
  QString Pagina() const { return carpeta.Path() + u"/Inquiero.html"_qs; }
  template <class T = QWidget>
  T* Componente(const TfGENEACER& acerca, const char* nombre) {
    return acerca.findChild<T*>(QString::fromLatin1(nombre));
  }

  TemporaryFolder carpeta;
  VisorRegistrado visor;
  EscritorioRegistrado escritorio;
};

}  // namespace

TEST_F(Geneacer, TheVersionLineCarriesTheExecutablesLastWrite) {
  QFile ejecutable(carpeta.Path() + u"/zemwin"_qs);
  ASSERT_TRUE(ejecutable.open(QIODevice::WriteOnly));
  ASSERT_TRUE(ejecutable.setFileTime(QDateTime(QDate(2024, 5, 3), QTime(10, 15)), QFileDevice::FileModificationTime));
  ejecutable.close();
  EXPECT_EQ(TextoVersion(ejecutable.fileName()), u"Versión 2024b - (03/05/2024 10:15:00)"_qs);
}

TEST_F(Geneacer, EachShowingRewritesTheSupportPageAndSendsTheViewToIt) {
  const QString pagina =
      u"<script language=\"JavaScript\" src=\"https://soporte.zem.es/inquiero/web/an/ann4.asp?login=W53QR2k614039H7&lang=es\"></script>"_qs;
  for (int vez = 0; vez < 2; ++vez) {
    TextFile::Write(Pagina(), u"otra cosa"_qs);
    TfGENEACER acerca;
    acerca.show();
    EXPECT_EQ(TextFile::Read(Pagina()).trimmed(), pagina);
    EXPECT_TRUE(acerca.Version()->text().startsWith(u"Versión 2024b - ("_qs));
    acerca.close();
  }
  EXPECT_EQ(visor.direcciones, QStringList(2, u"PanelWebBrowser/WebBrowser1 file://"_qs + Pagina()));
}

// Designed wider, the box is shown narrow, with the web panel moved to its
// top and the black frame round its edges.
TEST_F(Geneacer, TheShownBoxIsNarrowWithTheWebPanelAtItsTopInsideABlackFrame) {
  TfGENEACER acerca;
  EXPECT_EQ(acerca.size(), QSize(455, 358));
  acerca.show();
  EXPECT_EQ(acerca.size(), QSize(230, 358));
  EXPECT_EQ(Componente(acerca, "PanelWebBrowser")->pos(), QPoint(25, -3));
  const struct {
    const char* panel;
    QRect lugar;
  } marco[] = {{"PanelNegroSup", {0, 0, 230, 4}},
               {"PanelNegroInf", {0, 318, 230, 40}},
               {"PanelNegroIzq", {0, 4, 4, 314}},
               {"PanelNegroDer", {226, 4, 4, 314}}};
  for (const auto& [nombre, lugar] : marco) {
    QWidget* panel = Componente(acerca, nombre);
    EXPECT_EQ(panel->geometry(), lugar) << nombre;
    EXPECT_TRUE(panel->isVisible()) << nombre;
    const QImage imagen = panel->grab().toImage();
    EXPECT_EQ(imagen.pixelColor(imagen.width() / 2, imagen.height() - 1), QColor(Qt::black)) << nombre;
  }
  EXPECT_EQ(acerca.NombreProducto()->parentWidget()->objectName(), u"PanelNegroInf"_qs);
  EXPECT_LE(acerca.NombreProducto()->geometry().right(), 230);
  for (const char* imagen : {"Image1", "Image2"}) {
    const QLabel* label = Componente<QLabel>(acerca, imagen);
    ASSERT_NE(label, nullptr) << imagen;
    EXPECT_FALSE(label->pixmap().isNull()) << imagen;
    EXPECT_LE(label->geometry().right(), 230) << imagen;
  }
  EXPECT_LE(acerca.Version()->geometry().right(), 230);
  EXPECT_LE(acerca.Version()->fontMetrics().horizontalAdvance(acerca.Version()->text()), acerca.Version()->width())
      << "the version line is whole";
  EXPECT_EQ(Componente<QLabel>(acerca, "Aviso")->text(),
            u"© 1989-"_qs + QString::number(QDate::currentDate().year()) + u" ZEM"_qs);
}

TEST_F(Geneacer, TheNarrowedBoxStandsAtTheMiddleOfItsOwnersWindow) {
  QWidget principal;
  principal.setGeometry(100, 80, 900, 700);
  principal.show();
  TfGENEACER acerca(&principal);
  acerca.show();
  EXPECT_EQ(acerca.width(), 230);
  EXPECT_LE((acerca.geometry().center() - principal.geometry().center()).manhattanLength(), 10);
}

TEST_F(Geneacer, TheMakersPictureAndLinksOpenItsPagesThroughTheShell) {
  const struct {
    const char* componente;
    const char* abre;  // nullptr: nothing
  } casos[] = {{"Image2", "http://www.zem.es"},
               {"DireccionEMail", "mailto:info@zem.es"},
               {"Aviso", "http://www.zem.es"},
               {"Image1", nullptr},
               {"Version", nullptr}};
  TfGENEACER acerca;
  acerca.show();
  for (const auto& [componente, abre] : casos) {
    escritorio.abiertos.clear();
    QTest::mouseClick(Componente(acerca, componente), Qt::LeftButton);
    EXPECT_EQ(escritorio.abiertos, abre ? QStringList{QString::fromLatin1(abre)} : QStringList()) << componente;
  }
  // Only a left click counts.
  escritorio.abiertos.clear();
  QTest::mouseClick(Componente(acerca, "Image2"), Qt::RightButton);
  EXPECT_TRUE(escritorio.abiertos.isEmpty());
  EXPECT_TRUE(acerca.isVisible());
}

TEST_F(Geneacer, TheCloseButtonAPlainEnterAndEscCloseTheBox) {
  const std::function<void(TfGENEACER&)> cierres[] = {
      [this](TfGENEACER& acerca) { QTest::mouseClick(Componente(acerca, "SpeedButton1"), Qt::LeftButton); },
      [](TfGENEACER& acerca) {
        QTest::keyClick(&acerca, Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_TRUE(acerca.isVisible()) << "not with Shift";
        QTest::keyClick(&acerca, Qt::Key_Enter);
      },
      [](TfGENEACER& acerca) {
        QTest::keyClick(&acerca, Qt::Key_Escape, Qt::ControlModifier);
        EXPECT_TRUE(acerca.isVisible()) << "not with Ctrl";
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &acerca, Qt::Key_Escape);
        if (acerca.isVisible()) acerca.reject();  // told by the result, not left open
      }};
  for (const auto& cerrar : cierres) {
    TfGENEACER acerca;
    QTimer::singleShot(0, &acerca, [&] { cerrar(acerca); });
    EXPECT_EQ(acerca.ShowModal(), mrOk);
  }
}
