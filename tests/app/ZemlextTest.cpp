#include "core/services/AyudanteExterno.h"
#include "core/startup/Configuracion.h"
#include "tests/fixtures/PrivateCupsd.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cups/cups.h>

namespace {

// The helper program in the program folder, with stand-ins for the desktop's
// mail program, which writes its arguments one a line, and for LibreOffice,
// which makes of a document a "PDF" naming it.
class Zemlext : public ::testing::Test {
 protected:
  void SetUp() override {
    CarpetaPrograma = programa.Path() + u'/';
    ASSERT_TRUE(QFile::link(QStringLiteral(ZEMLEXT_BINARIO), programa.File(u"zemlext"_qs)));
    Sustituto(u"xdg-email"_qs, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                                   QFile::encodeName(Salida(u"xdg-email"_qs)) + "\"\n");
    Sustituto(u"soffice"_qs,
              "while [ $# -gt 1 ]; do [ \"$1\" = --outdir ] && salida=\"$2\"; shift; done\n"
              "nombre=$(basename \"$1\")\nmkdir -p \"$salida\"\n"
              "printf '%%PDF-1.4 %s\\n' \"$nombre\" > \"$salida/${nombre%.*}.pdf\"\n");
    pathPrevio = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(sustitutos.path()) + ':' + pathPrevio);
  }
  void TearDown() override {
    qputenv("PATH", pathPrevio);
    qunsetenv("CUPS_SERVER");
  }

  void Sustituto(const QString& nombre, const QByteArray& guion) {
    QFile archivo(QDir(sustitutos.path()).filePath(nombre));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write("#!/bin/sh\n" + guion);
    archivo.close();
    archivo.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  // The test's scheduler named to the helper, a process of its own.
  static void SchedulerForTheHelper() {
    qputenv("CUPS_SERVER", QByteArray(cupsServer()) + ':' + QByteArray::number(ippPort()));
  }

  // Runs the helper on a parameter file naming the document and the printer; its exit code.
  int Helper(const QString& orden, const QString& documento, const QByteArray& impresora) const {
    QFile parametros(programa.File(u"parametros.ini"_qs));
    if (!parametros.open(QIODevice::WriteOnly)) return -1;
    parametros.write("PathDocumento=" + QFile::encodeName(documento) + "\r\nNombreImpresora=" + impresora + "\r\n");
    parametros.close();
    return QProcess::execute(programa.File(u"zemlext"_qs), {orden, parametros.fileName()});
  }

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

// Documents go through the spooler as the suite's printouts do: a PDF as it
// is, a Word document as the PDF LibreOffice makes of it; no printer name is
// the default queue.
TEST_F(Zemlext, DocumentsReachThePrinterThroughTheSpooler) {
  PrivateCupsd cups(u"Prueba"_qs);
  if (!cups.Unavailable().isEmpty()) GTEST_SKIP() << cups.Unavailable().toStdString();
  SchedulerForTheHelper();
  const QByteArray pdf = "%PDF-1.4\n\x00\xff\r\n\f%%EOF\n";
  QFile documento(programa.File(u"oferta ñ 1.pdf"_qs));
  ASSERT_TRUE(documento.open(QIODevice::WriteOnly) && documento.write(pdf) == pdf.size());
  documento.close();
  const struct {
    const char* archivo;
    const char* impresora;
    const char* tipo;
    QByteArray trabajo;
  } casos[] = {
      {"oferta ñ 1.pdf", "Prueba", "PDF", pdf},
      {"oferta ñ 1.pdf", "", "PDF", pdf},
      {"carta.docx", "Prueba", "DOC", "%PDF-1.4 carta.docx\n"},
      {"carta.doc", "", "DOC", "%PDF-1.4 carta.doc\n"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(std::string(caso.archivo) + " / " + caso.impresora);
    ImprimirDocumentoExterno(programa.File(QString::fromUtf8(caso.archivo)), QString::fromUtf8(caso.impresora),
                             QString::fromLatin1(caso.tipo));
    EXPECT_EQ(cups.NextJob(), caso.trabajo);
  }
}

// The suite does not read the helper's outcome, but the helper never ends as
// if printed when the queue did not take the job, nor when a Word document
// could not be made a PDF.
TEST_F(Zemlext, ADocumentNotPrintedEndsTheHelperWithAFailure) {
  PrivateCupsd cups(u"Prueba"_qs);
  if (!cups.Unavailable().isEmpty()) GTEST_SKIP() << cups.Unavailable().toStdString();
  SchedulerForTheHelper();
  QFile documento(programa.File(u"existe.pdf"_qs));
  ASSERT_TRUE(documento.open(QIODevice::WriteOnly) && documento.write("%PDF-1.4\n") == 9);
  documento.close();
  EXPECT_NE(Helper(u"ImprimirDocumentoPDF"_qs, programa.File(u"no existe.pdf"_qs), "Prueba"), 0);
  EXPECT_NE(Helper(u"ImprimirDocumentoPDF"_qs, documento.fileName(), "NoExiste"), 0);
  Sustituto(u"soffice"_qs, "exit 1\n");
  EXPECT_NE(Helper(u"ImprimirDocumentoWord"_qs, programa.File(u"carta.docx"_qs), "Prueba"), 0);
  cups.Stop();
  EXPECT_NE(Helper(u"ImprimirDocumentoPDF"_qs, documento.fileName(), "Prueba"), 0);
}

}  // namespace
