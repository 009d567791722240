// The suite's helper program: "zemlext <command word> <parameter file>".
// The parameter file holds name=value lines in Windows-1252, each line break
// of a value written as "·". It hands a message to the desktop's mail program
// (xdg-email) or prints a document through the print spooler as the suite
// prints (a Word document made a PDF by headless LibreOffice first), and
// ends; the suite does not read its exit code.

#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "platform/report/PdfCreator.h"
#include "platform/report/PrintQueue.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString valor(const StringList& parametros, const char* nombre) {
  return parametros.Values(QString::fromLatin1(nombre)).replace(u'·', u'\n');
}

QStringList correo(const StringList& p) {
  QStringList argumentos{QStringLiteral("--utf8")};
  const QString asunto = valor(p, "Asunto");
  if (!asunto.isEmpty()) argumentos << QStringLiteral("--subject") << asunto;
  const QString texto = valor(p, "Texto");
  if (!texto.isEmpty()) argumentos << QStringLiteral("--body") << texto;
  const QString copia = valor(p, "EMailDestinatarioCC");
  if (!copia.isEmpty()) argumentos << QStringLiteral("--cc") << copia;
  for (const QString& adjunto : valor(p, "ArchivosAdjuntos").split(QRegularExpression(QStringLiteral("[|\n]")), Qt::SkipEmptyParts))
    argumentos << QStringLiteral("--attach") << adjunto;
  const QString destinatario = valor(p, "EMailDestinatario");
  if (!destinatario.isEmpty()) argumentos << destinatario;
  return argumentos;
}

int ejecutar(const QString& programa, const QStringList& argumentos) {
  const QString ruta = QStandardPaths::findExecutable(programa);
  if (ruta.isEmpty()) {
    std::fprintf(stderr, "zemlext: %s not found\n", qPrintable(programa));
    return 2;
  }
  return QProcess::execute(ruta, argumentos);
}

// On the named queue, or the default one when none is named.
int imprimirPDF(const QString& documento, const QString& impresora, const QString& pdf) {
  if (PrintQueueSeam::Get().SendPdf(impresora, QFileInfo(documento).fileName(), pdf)) return 0;
  std::fprintf(stderr, "zemlext: the print queue did not take %s\n", qPrintable(documento));
  return 3;
}

int imprimirWord(const QString& documento, const QString& impresora) {
  const QTemporaryDir carpeta;
  const QString pdf = carpeta.filePath(QStringLiteral("documento.pdf"));
  const QString error = carpeta.isValid() ? PdfCreator::Convert(documento, pdf) : carpeta.errorString();
  if (!error.isEmpty()) {
    std::fprintf(stderr, "zemlext: %s\n", qPrintable(error));
    return 2;
  }
  return imprimirPDF(documento, impresora, pdf);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication aplicacion(argc, argv);
  const QStringList argumentos = aplicacion.arguments();
  if (argumentos.size() < 3) {
    std::fprintf(stderr, "usage: zemlext EnviarEMailMAPI|ImprimirDocumentoWord|ImprimirDocumentoPDF <file>\n");
    return 1;
  }
  StringList parametros;
  try {
    parametros.SetText(TextFile::Read(argumentos[2]));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zemlext: %s\n", error.what());
    return 1;
  }
  const QString orden = argumentos[1];
  if (orden == QLatin1String("EnviarEMailMAPI")) return ejecutar(QStringLiteral("xdg-email"), correo(parametros));
  const QString documento = valor(parametros, "PathDocumento");
  const QString impresora = valor(parametros, "NombreImpresora");
  if (orden == QLatin1String("ImprimirDocumentoPDF")) return imprimirPDF(documento, impresora, documento);
  if (orden == QLatin1String("ImprimirDocumentoWord")) return imprimirWord(documento, impresora);
  std::fprintf(stderr, "zemlext: unknown command %s\n", qPrintable(orden));
  return 1;
}
