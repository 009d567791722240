#include "core/services/AyudanteExterno.h"
#include "core/services/EnvioEMail.h"
#include "core/startup/Configuracion.h"
#include "platform/ProcessLauncher.h"
#include "tests/core/system/MensajesSimples.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// Reads the parameter file and the batch file while the helper "runs".
class LanzadorQueLee : public ProcessLauncher {
 public:
  struct Llamada {
    QString programa;
    QStringList argumentos;
    QByteArray parametros, bat;
    QFileDevice::Permissions permisosParametros, permisosBat;
  };

  LanzadorQueLee() : instalado_(*this) {}
  bool Start(const QString&, const QStringList&, const QString&) override { return false; }
  std::optional<int> Run(const QString& programa, const QStringList& argumentos, const QString&) override {
    Llamada llamada{programa, argumentos, {}, {}, {}, {}};
    QFile parametros(argumentos.value(1));
    QFile bat(QString(argumentos.value(1)).replace(QLatin1String(".INI"), QLatin1String(".BAT")));
    if (parametros.open(QIODevice::ReadOnly)) llamada.parametros = parametros.readAll();
    if (bat.open(QIODevice::ReadOnly)) llamada.bat = bat.readAll();
    llamada.permisosParametros = parametros.permissions();
    llamada.permisosBat = bat.permissions();
    llamadas.append(llamada);
    return 0;
  }
  std::optional<int> RunPiped(const QString&, const QStringList&, const QString&, const QByteArray&,
                              QByteArray&) override {
    ADD_FAILURE() << "the helper is not piped";
    return std::nullopt;
  }

  QList<Llamada> llamadas;

 private:
  ProcessLauncherSeam::Scoped instalado_;
};

class Ayudante : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temporal.isValid());
    CarpetaPrograma = programa.Path() + u'/';
    tmpPrevio = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temporal.path()));
  }
  void TearDown() override { qputenv("TMPDIR", tmpPrevio); }

  // Both files were deleted once the helper ended.
  void ExpectTemporalVacio() const { EXPECT_TRUE(QDir(temporal.path()).isEmpty()); }

  TemporaryFolder programa;
  QTemporaryDir temporal;
  QByteArray tmpPrevio;
  LanzadorQueLee lanzador;
};

constexpr auto PropietarioSolo = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;

TEST_F(Ayudante, TheMailRouteWritesTheParameterLinesInOrderAndRunsTheHelperWithTheCommandWord) {
  EXPECT_EQ(EnviarEMailMAPI(u"Pedido nº 7"_qs, u"Línea uno\r\nLínea dos"_qs, u"/a b/x.pdf|/y.pdf"_qs, u"Zem"_qs,
                            u"zem@zem.es"_qs, u"Cliente"_qs, u"c@c.es"_qs, u"Copia"_qs, u"copia@zem.es"_qs, u"Op"_qs),
            0);
  ASSERT_EQ(lanzador.llamadas.size(), 1);
  const auto& llamada = lanzador.llamadas[0];
  EXPECT_EQ(llamada.programa, CarpetaPrograma + u"ZEMLEXT.EXE"_qs);
  ASSERT_EQ(llamada.argumentos.size(), 2);
  EXPECT_EQ(llamada.argumentos[0], u"EnviarEMailMAPI"_qs);
  const QFileInfo ini(llamada.argumentos[1]);
  EXPECT_EQ(ini.absolutePath(), QFileInfo(temporal.path()).absoluteFilePath());
  EXPECT_TRUE(ini.fileName().contains(QRegularExpression(u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.INI$"_qs)));
  EXPECT_EQ(llamada.parametros, QByteArray("Asunto=Pedido n\xBA 7\r\nTexto=L\xEDnea uno\xB7L\xEDnea dos\r\n"
                                           "ArchivosAdjuntos=/a b/x.pdf|/y.pdf\r\nNombreRemitente=Zem\r\n"
                                           "EMailRemitente=zem@zem.es\r\nNombreDestinatario=Cliente\r\n"
                                           "EMailDestinatario=c@c.es\r\nNombreDestinatarioCC=Copia\r\n"
                                           "EMailDestinatarioCC=copia@zem.es\r\nOpciones=Op\r\n"));
  EXPECT_EQ(llamada.bat, (CarpetaPrograma + u"ZEMLEXT.EXE EnviarEMailMAPI "_qs + llamada.argumentos[1] + u"\r\n"_qs).toUtf8());
  EXPECT_EQ(llamada.permisosParametros, PropietarioSolo);
  EXPECT_EQ(llamada.permisosBat, PropietarioSolo);
  ExpectTemporalVacio();
  EXPECT_EQ(QDir::currentPath() + u'/', CarpetaPrograma);
}

TEST_F(Ayudante, WithoutACopyParameterTheMailRouteCopiesToTheCopyAccount) {
  QString error = u"previo"_qs;
  EXPECT_TRUE(EnviarEMailParametros(u"ClienteSMTP=MAPI(Masivo)\r\nCuentaSMTPCopiasDocumentos(Masivo)=copias@zem.es"_qs,
                                    u"c@c.es"_qs, u"s"_qs, u"t"_qs, {}, error,
                                    u"NombreRemitente=Zem\r\nNombreDestinatario=Cliente"_qs, u"Op"_qs));
  EXPECT_TRUE(error.isEmpty());
  ASSERT_EQ(lanzador.llamadas.size(), 1);
  EXPECT_TRUE(lanzador.llamadas[0].parametros.contains("NombreDestinatarioCC=copias@zem.es\r\nEMailDestinatarioCC=copias@zem.es\r\n"));
  EXPECT_TRUE(lanzador.llamadas[0].parametros.contains("NombreRemitente=Zem\r\n"));
  EXPECT_TRUE(lanzador.llamadas[0].parametros.contains("EMailDestinatario=c@c.es\r\n"));
}

TEST_F(Ayudante, PrintingNamesTheCommandByTheDocumentType) {
  struct Caso {
    const char* tipo;
    QString orden;
  };
  for (const Caso& caso : {Caso{"PDF", u"ImprimirDocumentoPDF"_qs}, Caso{"DOC", u"ImprimirDocumentoWord"_qs},
                           Caso{"TXT", QString()}}) {
    ImprimirDocumentoExterno(u"/docs/ofértas 1.pdf"_qs, u"Láser 2"_qs, QString::fromLatin1(caso.tipo));
    ASSERT_FALSE(lanzador.llamadas.isEmpty());
    const auto& llamada = lanzador.llamadas.back();
    EXPECT_EQ(llamada.argumentos[0], caso.orden);
    EXPECT_EQ(llamada.parametros, QByteArray("PathDocumento=/docs/of\xE9rtas 1.pdf\r\nNombreImpresora=L\xE1ser 2\r\n"));
    EXPECT_EQ(llamada.bat, (CarpetaPrograma + u"ZEMLEXT.EXE "_qs + caso.orden + u' ' + llamada.argumentos[1] + u"\r\n"_qs).toUtf8());
  }
  ExpectTemporalVacio();
}

TEST_F(Ayudante, ABatchFileThatCannotBeWrittenIsToldAndTheHelperIsNotStarted) {
  MensajesSimples mensajes;
  // A file where the temporary folder should be.
  QFile archivo(temporal.filePath(u"archivo"_qs));
  ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
  qputenv("TMPDIR", QFile::encodeName(archivo.fileName()));
  ImprimirDocumentoExterno(u"/docs/a.pdf"_qs, QString(), u"PDF"_qs);
  EXPECT_TRUE(lanzador.llamadas.isEmpty());
  ASSERT_EQ(mensajes.textos.size(), 1);
  EXPECT_TRUE(mensajes.textos[0].startsWith(u"Error de Creación del Archivo (.bat). Motivo: "_qs));
}

}  // namespace
