#include "platform/TextFile.h"
#include "platform/VisorWeb.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QLayout>
#include <QUrl>
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

// A page shown without scripts goes on only within its document's folder.
TEST(VisorWeb, AScriptFreePageGoesNowhereButItsOwnFolder) {
  TemporaryFolder carpeta;
  const QString documentos = carpeta.Path() + u"/docs"_qs;
  QDir().mkpath(documentos + u"/anexos"_qs);
  const QUrl documento = QUrl::fromLocalFile(documentos + u"/contrato.html"_qs);
  const QUrl enCarpeta = QUrl::fromLocalFile(documentos);
  const struct {
    QUrl desde;
    QString hacia;
    bool permitida;
  } casos[] = {
      {documento, u"file://"_qs + documentos + u"/otro.html"_qs, true},
      {documento, u"file://"_qs + documentos + u"/anexos/a.pdf#p2"_qs, true},
      {documento, u"file://"_qs + documentos + u"/../secreto.txt"_qs, false},
      {documento, u"file://"_qs + documentos + u"/anexos/../../secreto.txt"_qs, false},
      {documento, u"file://"_qs + documentos + u"x/a.html"_qs, false},
      {documento, u"file:///etc/passwd"_qs, false},
      {documento, u"https://ataque.example/robar"_qs, false},
      {documento, u"data:text/html,<script>alert(1)</script>"_qs, false},
      {enCarpeta, u"file://"_qs + documentos + u"/anexos/a.pdf"_qs, true},
      {enCarpeta, u"file://"_qs + carpeta.Path() + u"/fuera.html"_qs, false},
      {QUrl(u"http://zem.es/ayuda/indice.html"_qs), u"http://zem.es/ayuda/tema.html?x=1"_qs, true},
      {QUrl(u"http://zem.es/ayuda/indice.html"_qs), u"http://zem.es/otra/tema.html"_qs, false},
      {QUrl(u"http://zem.es/ayuda/indice.html"_qs), u"http://zem.es.ataque.example/ayuda/x.html"_qs, false},
      {QUrl(u"http://zem.es/ayuda/indice.html"_qs), u"https://zem.es/ayuda/x.html"_qs, false},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(NavegacionPermitida(caso.desde, QUrl(caso.hacia)), caso.permitida) << caso.hacia.toStdString();
}
