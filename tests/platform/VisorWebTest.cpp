#include "platform/TextFile.h"
#include "platform/VisorWeb.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QLayout>
#include <QTextBrowser>

#include <gtest/gtest.h>

// The view the program has without its browser engine (the tests' own).
TEST(VisorWeb, ThePlainViewFillsItsPanelAndShowsOnlyLocalPages) {
  TemporaryFolder carpeta;
  const QString pagina = carpeta.Path() + u"/pagina.html"_qs;
  const QString soloScript = carpeta.Path() + u"/soporte.html"_qs;
  TextFile::Write(pagina, u"<p>Hola <b>mundo</b></p>"_qs);
  TextFile::Write(soloScript, u"<script language=\"JavaScript\" src=\"https://soporte.zem.es/x.asp\"></script>"_qs);

  QWidget panel;
  panel.resize(180, 60);
  QWidget* vista = VisorWebSeam::Get().Crear(panel);
  ASSERT_EQ(vista->parentWidget(), &panel);
  panel.layout()->activate();
  EXPECT_EQ(vista->geometry(), panel.rect());
  auto* texto = qobject_cast<QTextBrowser*>(vista);
  ASSERT_NE(texto, nullptr);

  const struct {
    QString direccion;
    QString muestra;
  } casos[] = {{u"file://"_qs + pagina, u"Hola mundo"_qs},
               {u"https://soporte.zem.es/"_qs, QString()},  // no network: left empty
               {u"file://"_qs + pagina, u"Hola mundo"_qs},
               {u"file://"_qs + soloScript, QString()},
               {u"file://"_qs + carpeta.Path() + u"/no-existe.html"_qs, QString()}};
  for (const auto& [direccion, muestra] : casos) {
    VisorWebSeam::Get().Navegar(*vista, direccion);
    EXPECT_EQ(texto->toPlainText().trimmed(), muestra) << direccion.toStdString();
  }
}
