#include "core/services/AyudanteExterno.h"
#include "core/startup/Configuracion.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The helper program in the program folder, with stand-ins for the desktop's
// mail program and the printer client that write their arguments, one a line.
class Zemlext : public ::testing::Test {
 protected:
  void SetUp() override {
    CarpetaPrograma = programa.Path() + u'/';
    ASSERT_TRUE(QFile::link(QStringLiteral(ZEMLEXT_BINARIO), programa.File(u"zemlext"_qs)));
    for (const char* nombre : {"xdg-email", "lp"}) {
      QFile guion(QDir(sustitutos.path()).filePath(QString::fromLatin1(nombre)));
      ASSERT_TRUE(guion.open(QIODevice::WriteOnly));
      guion.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                  QFile::encodeName(Salida(QString::fromLatin1(nombre))) + "\"\n");
      guion.close();
      guion.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    pathPrevio = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(sustitutos.path()) + ':' + pathPrevio);
  }
  void TearDown() override { qputenv("PATH", pathPrevio); }

  QString Salida(const QString& programa) const { return QDir(sustitutos.path()).filePath(programa + u".txt"_qs); }
  QStringList Argumentos(const QString& programa) const {
    QFile salida(Salida(programa));
    if (!salida.open(QIODevice::ReadOnly)) return {u"<no ejecutado>"_qs};
    return QString::fromUtf8(salida.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }

  TemporaryFolder programa;
  QTemporaryDir sustitutos;
  QByteArray pathPrevio;
};

TEST_F(Zemlext, TheMailRouteHandsTheMessageToTheDesktopsMailProgramWithItsLineBreaks) {
  EnviarEMailMAPI(u"Pedido ñ"_qs, u"Uno\r\nDos"_qs, u"/a b/x.pdf|/y.pdf"_qs, u"Zem"_qs, u"zem@zem.es"_qs, u"Cliente"_qs,
                  u"c@c.es"_qs, u"Copia"_qs, u"copia@zem.es"_qs, {});
  EXPECT_EQ(Argumentos(u"xdg-email"_qs),
            (QStringList{u"--utf8"_qs, u"--subject"_qs, u"Pedido ñ"_qs, u"--body"_qs, u"Uno"_qs, u"Dos"_qs, u"--cc"_qs,
                         u"copia@zem.es"_qs, u"--attach"_qs, u"/a b/x.pdf"_qs, u"--attach"_qs, u"/y.pdf"_qs,
                         u"c@c.es"_qs}));
}

TEST_F(Zemlext, APDFIsPrintedOnTheNamedPrinter) {
  ImprimirDocumentoExterno(u"/docs/ofertas 1.pdf"_qs, u"Laser2"_qs, u"PDF"_qs);
  EXPECT_EQ(Argumentos(u"lp"_qs), (QStringList{u"-d"_qs, u"Laser2"_qs, u"--"_qs, u"/docs/ofertas 1.pdf"_qs}));
}

}  // namespace
