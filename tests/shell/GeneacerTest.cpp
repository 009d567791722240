#include "core/startup/Configuracion.h"
#include "platform/TextFile.h"
#include "shell/Geneacer.h"
#include "shell/VisorWeb.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDateTime>
#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

struct VisorRegistrado : VisorWeb {
  void Navegar(QWidget&, const QString& direccion) override { direcciones.append(direccion); }
  QStringList direcciones;
  VisorWebSeam::Scoped instalado{*this};
};

}  // namespace

TEST(Geneacer, TheVersionLineCarriesTheExecutablesLastWrite) {
  TemporaryFolder carpeta;
  QFile ejecutable(carpeta.Path() + u"/zemwin"_qs);
  ASSERT_TRUE(ejecutable.open(QIODevice::WriteOnly));
  ASSERT_TRUE(ejecutable.setFileTime(QDateTime(QDate(2024, 5, 3), QTime(10, 15)), QFileDevice::FileModificationTime));
  ejecutable.close();
  EXPECT_EQ(TextoVersion(ejecutable.fileName()), u"Versión 2024b - (03/05/2024 10:15:00)"_qs);
}

TEST(Geneacer, EachShowingRewritesTheSupportPageAndSendsTheViewToIt) {
  TemporaryFolder carpeta;
  CarpetaPrograma = carpeta.Path() + u'/';
  const QString archivo = carpeta.Path() + u"/Inquiero.html"_qs;
  const QString pagina =
      u"<script language=\"JavaScript\" src=\"https://soporte.zem.es/inquiero/web/an/ann4.asp?login=W53QR2k614039H7&lang=es\"></script>"_qs;
  VisorRegistrado visor;
  for (int vez = 0; vez < 2; ++vez) {
    TextFile::Write(archivo, u"otra cosa"_qs);
    TfGENEACER acerca;
    acerca.show();
    EXPECT_EQ(TextFile::Read(archivo).trimmed(), pagina);
    EXPECT_TRUE(acerca.Version()->text().startsWith(u"Versión 2024b - ("_qs));
    acerca.close();
  }
  EXPECT_EQ(visor.direcciones, QStringList(2, u"file://"_qs + archivo));
}
