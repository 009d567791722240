#include "core/startup/Genepant.h"
#include "platform/Paths.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

TEST(Genepant, IsABorderlessSplashInTheSystemsColours) {
  TemporaryFolder carpeta;
  TfGENEPANT* pantalla = CrearPantallaPresentacion();
  EXPECT_EQ(fGENEPANT, pantalla);
  EXPECT_EQ(pantalla->objectName(), u"fGENEPANT"_qs);
  EXPECT_TRUE(pantalla->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(pantalla->size(), QSize(462, 363));
  EXPECT_EQ(pantalla->findChild<QLabel*>(u"Label1"_qs)->text(),
            u"Gestor de Aplicaciones Comerciales e Industriales"_qs);
  EXPECT_TRUE(pantalla->Version()->text().isEmpty());

  pantalla->Version()->setText(u"Versión 2024b"_qs);
  pantalla->show();
  const QImage imagen = pantalla->grab().toImage();
  EXPECT_EQ(QColor(imagen.pixel(1, 1)), QColor(0, 128, 128));       // the shape's teal pen
  EXPECT_EQ(QColor(imagen.pixel(8, 8)), QColor(254, 223, 158));     // the shape
  EXPECT_EQ(QColor(imagen.pixel(230, 180)), QColor(254, 223, 158)); // the inner panel, no logo here
  // Kept to look at: ZEMWIN_CAPTURAS names a folder for the picture.
  const QString archivo = Paths::Join(qEnvironmentVariable("ZEMWIN_CAPTURAS", carpeta.Path()), "GENEPANT.png");
  EXPECT_TRUE(imagen.save(archivo));

  LiberarPantallaPresentacion();
  EXPECT_EQ(fGENEPANT, nullptr);
  LiberarPantallaPresentacion();  // freeing it twice does nothing
}

TEST(Genepant, ShowsTheInstallationsLogo) {
  TemporaryFolder carpeta;
  QImage logotipo(40, 30, QImage::Format_RGB32);
  logotipo.fill(QColor(200, 0, 0));
  ASSERT_TRUE(logotipo.save(carpeta.File(u"logoini.bmp"_qs), "BMP"));
  const TfGENEPANT pantalla;
  const QLabel* imagen = pantalla.findChild<QLabel*>(u"Image1"_qs);
  ASSERT_FALSE(imagen->pixmap().isNull());
  EXPECT_EQ(imagen->pixmap().size(), QSize(40, 30));
}
