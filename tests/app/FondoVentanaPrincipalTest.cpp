#include "app/ProgramaZEM.h"
#include "platform/Application.h"
#include "shell/Genemenu.h"
#include "shell/ImagenesProducto.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QLabel>
#include <QMdiArea>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Runs the program until its main window is on screen, then hands it over.
void ConLaVentanaPrincipal(const std::function<void(TfGENEMENU&)>& prueba) {
  TemporaryFolder carpeta;
  InstallationBuilder(carpeta.Path()).Write();
  ScriptedPresenter mensajes;
  mensajes.Expect(u"P"_qs, u"ADMIN"_qs);  // the login
  ProgramaZEM programa(*Application::Instance(), {});
  programa.Iniciar();
  bool probada = false;
  QTimer::singleShot(0, [&] {
    probada = fGENEMENU->isVisible();
    if (probada) prueba(*fGENEMENU);
    Application::Instance()->Terminate();
  });
  programa.Ejecutar();
  EXPECT_TRUE(probada);
}

// How many pixels of the client area show the background picture.
int PuntosDelFondo(TfGENEMENU& ventana) {
  const QColor cuerpo = EmblemaProducto(100).toImage().pixelColor(10, 50);
  const QImage cliente = ventana.AreaMDI()->viewport()->grab().toImage();
  int puntos = 0;
  for (int y = 0; y < cliente.height(); ++y)
    for (int x = 0; x < cliente.width(); ++x) puntos += cliente.pixelColor(x, y) == cuerpo;
  return puntos;
}

}  // namespace

TEST(FondoVentanaPrincipal, ThePictureFillsTheClientAreaCentredBeneathTheIconPanel) {
  ConLaVentanaPrincipal([](TfGENEMENU& ventana) {
    QWidget* cliente = ventana.AreaMDI()->viewport();
    QLabel* imagen = ventana.Image1();
    ASSERT_EQ(imagen->parentWidget(), cliente);
    EXPECT_FALSE(imagen->pixmap().isNull());
    EXPECT_EQ(imagen->alignment(), Qt::AlignCenter);
    const QObjectList capas = cliente->children();
    EXPECT_LT(capas.indexOf(imagen), capas.indexOf(ventana.Panel1()));
    for (const QSize tamano : {QSize(600, 625), QSize(900, 700), QSize(450, 500)}) {
      ventana.resize(tamano);
      EXPECT_EQ(imagen->geometry(), cliente->rect()) << tamano.width();
    }
    EXPECT_EQ(PuntosDelFondo(ventana), 0) << "the icon panel covers it";
  });
}

TEST(FondoVentanaPrincipal, TheConfigurationProgramShowsThePictureWithoutTheIconPanel) {
  ConLaVentanaPrincipal([](TfGENEMENU& ventana) {
    ventana.ModoSoloConfiguracion();
    EXPECT_TRUE(ventana.Panel1()->isHidden());
    EXPECT_GT(PuntosDelFondo(ventana), 1000);
    EXPECT_EQ(ventana.Image1()->geometry(), ventana.AreaMDI()->viewport()->rect());
  });
}
