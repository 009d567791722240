#include "tests/printing/GenelimpFixture.h"

#include "platform/Cp1252.h"
#include "platform/data/Field.h"
#include "tests/fixtures/PrivateCupsd.h"
#include "tests/fixtures/RecordingPrintQueue.h"
#include "tests/fixtures/ReportTestSupport.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

// qpdf 11 without its old pointer type.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

namespace {

class Salidas : public Genelimp, public ModuloConUsuarios {
 protected:
  Salidas() { ModuloDatos = &modulo; }
  ~Salidas() override { ModuloDatos = nullptr; }

  // A form for each case, kept to the end: the first one freed deletes the temporary tables.
  TfGENELIMP& Nuevo() { return *formularios.emplace_back(Formulario()); }
  std::vector<std::unique_ptr<TfGENELIMP>> formularios;

  // A PDF of one page holding the word.
  static QByteArray PdfConTexto(const QString& palabra) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter escritor(&buffer);
    QPainter pintor(&escritor);
    pintor.drawText(QPointF(500, 500), palabra);
    pintor.end();
    return bytes;
  }

  // The same, encrypted, opened with the password (empty: by anyone).
  static QByteArray PdfCifrado(const QString& palabra, const char* clave) {
    const QByteArray claro = PdfConTexto(palabra);
    QPDF pdf;
    pdf.processMemoryFile("pieza", claro.constData(), size_t(claro.size()));
    QPDFWriter escritor(pdf);
    escritor.setOutputMemory();
    escritor.setR6EncryptionParameters(clave, "propietario", true, true, true, true, true, true, qpdf_r3p_full, true);
    escritor.write();
    const std::shared_ptr<Buffer> cifrado = escritor.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(cifrado->getBuffer()), qsizetype(cifrado->getSize()));
  }

  static QByteArray CadaByte() {
    QByteArray bytes;
    for (int valor = 0; valor < 256; ++valor) bytes += char(valor);
    return bytes;
  }

  static QStringList PalabrasPorPagina(const QString& archivo, int paginas) {
    QStringList textos(paginas);
    for (const PdfWord& palabra : PdfWords(archivo)) textos[palabra.page - 1] += palabra.text;
    return textos;
  }
};

}  // namespace

TEST_F(Salidas, AsciiSendsEachDocumentsTextAsItIsAndNeverPreviews) {
  Impreso(u"FAC"_qs, QString(), QString(), u"ASCII"_qs);
  Ejecutar(u"ALTER TABLE TEMPIMP ADD StreamASCII TEXT NULL"_qs);
  for (const bool acepta : {true, false}) {
    SCOPED_TRACE(acepta);
    RecordingPrintQueue cola;
    Ejecutar(u"DELETE FROM TEMPIMP"_qs);
    VisualizarEnPantalla = true;
    PrintSettings eleccion;
    eleccion.PrinterIndex = 1;
    dialogos.ExpectPrint(acepta, eleccion);
    TfGENELIMP& formulario = Nuevo();
    EXPECT_FALSE(VisualizarEnPantalla);
    int codigo = 0;
    for (const QString& texto : {u"\f\x1b@Ñ\r\nuno"_qs, Cp1252::decode(CadaByte())}) {
      formulario.Temporal->Append();
      formulario.Temporal->FieldByName(u"CodigoTemporal"_qs).SetAsInteger(++codigo);
      formulario.Temporal->FieldByName(u"StreamASCII"_qs).SetAsString(texto);
      formulario.Temporal->Post();
    }
    formulario.ImprimirImpreso();
    if (acepta) {
      ASSERT_EQ(cola.jobs.size(), 1);
      EXPECT_EQ(cola.jobs[0].printer, u"Oficina 2"_qs);
      EXPECT_EQ(cola.jobs[0].bytes.toHex(' '), (QByteArray("\f\x1b@\xd1\r\nuno") + CadaByte()).toHex(' '));
    } else {
      EXPECT_TRUE(cola.jobs.isEmpty());
    }
  }
}

TEST_F(Salidas, AsciiReachesThePrintersSocketThroughTheScheduler) {
  PrivateCupsd cups(u"Prueba"_qs);
  if (!cups.Unavailable().isEmpty()) GTEST_SKIP() << cups.Unavailable().toStdString();
  RecordingPrinter sistema({u"Prueba"_qs}, carpeta.Path());
  Impreso(u"FAC"_qs, QString(), QString(), u"ASCII"_qs);
  Ejecutar(u"ALTER TABLE TEMPIMP ADD StreamASCII TEXT NULL"_qs);
  dialogos.ExpectPrint(true);
  auto formulario = Formulario();
  formulario->Temporal->Append();
  formulario->Temporal->FieldByName(u"CodigoTemporal"_qs).SetAsInteger(1);
  formulario->Temporal->FieldByName(u"StreamASCII"_qs).SetAsString(u"\f\x1b@Ñ\r\nuno"_qs);
  formulario->Temporal->Post();
  formulario->ImprimirImpreso();
  EXPECT_EQ(cups.NextJob(), QByteArray("\f\x1b@\xd1\r\nuno"));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(Salidas, AQueueThatRefusesTheJobIsWarnedOf) {
  RecordingPrintQueue cola;
  cola.accept = false;
  Impreso(u"FAC"_qs, QString(), QString(), u"ASCII"_qs);
  Documentos(1);
  dialogos.ExpectPrint(true);
  mensajes.Expect(u"A"_qs);
  Formulario()->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(u"Se ha producido un error al imprimir. Motivo: "_qs));
}

TEST_F(Salidas, APdfRunCopiesItsOnePieceOnThePaperOfTheFormat) {
  const struct {
    const char* formato;
    const char* tamano;
  } casos[] = {{"100x50", "283 x 142"}, {"Sin Formato", "595 x 842"}, {"A5-Apaisado", "595 x 422"}};
  Documentos(2);
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.formato);
    Ejecutar(u"DELETE FROM IMPRESO"_qs);
    Impreso(u"FAC"_qs, u"[CABECERA]\r\nText=10;10;0;Hola"_qs);
    Ejecutar(u"UPDATE IMPRESO SET Formato = '%1'"_qs.arg(QLatin1String(caso.formato)));
    const QString destino = carpeta.File(QString::fromLatin1(caso.formato) + u".pdf"_qs);
    TfGENELIMP& formulario = Nuevo();
    formulario.SalidaImpreso = u"PDF:"_qs + destino;
    formulario.ImprimirImpreso();
    const QVariantMap pdf = PdfInfo(destino);
    EXPECT_EQ(pdf.value(u"Pages"_qs).toInt(), 2);
    EXPECT_TRUE(pdf.value(u"Page size"_qs).toString().startsWith(QLatin1String(caso.tamano)))
        << pdf.value(u"Page size"_qs).toString().toStdString();
    EXPECT_TRUE(formulario.ArchivosPDF.isEmpty());
    // The piece as Qt wrote it: a join keeps no document information.
    EXPECT_TRUE(pdf.value(u"Producer"_qs).toString().startsWith(u"Qt"_qs)) << pdf.value(u"Producer"_qs).toString().toStdString();
  }
}

// Stored "PDF" objects that cannot be read (damaged, locked by a password,
// empty) are left out with a warning; one encrypted for owners only is read.
TEST_F(Salidas, AutomaticModeFollowsEachDocumentWithItsStoredPdfs) {
  Ejecutar(u"CREATE TABLE BLOBTAB (NombreTabla VARCHAR(30), ClaveTabla VARCHAR(100), IdObjeto VARCHAR(30), "
           "TipoObjeto VARCHAR(10) NULL, Objeto IMAGE NULL, "
           "CONSTRAINT BLOBTAB_Clave1 PRIMARY KEY (NombreTabla, ClaveTabla, IdObjeto))"_qs);
  Table blobs;
  blobs.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  blobs.SetTableName(u"BLOBTAB"_qs);
  blobs.Open();
  for (const auto& [id, tipo, bytes] : {std::tuple{"a", "PDF", PdfConTexto(u"ADJUNTOA"_qs)},
                                        std::tuple{"b", "PDF", PdfConTexto(u"ADJUNTOB"_qs)},
                                        std::tuple{"c", "PDF", QByteArray("%PDF-1.4 roto")},
                                        std::tuple{"d", "TXT", QByteArray("texto")},
                                        std::tuple{"e", "PDF", PdfCifrado(u"ADJUNTOE"_qs, "")},
                                        std::tuple{"f", "PDF", PdfCifrado(u"ADJUNTOF"_qs, "clave")},
                                        std::tuple{"g", "PDF", QByteArray()}}) {
    blobs.Append();
    blobs.FieldByName(u"NombreTabla"_qs).SetAsString(u"CLIENTES"_qs);
    blobs.FieldByName(u"ClaveTabla"_qs).SetAsString(u"O'Brien|2"_qs);
    blobs.FieldByName(u"IdObjeto"_qs).SetAsString(QString::fromLatin1(id));
    blobs.FieldByName(u"TipoObjeto"_qs).SetAsString(QString::fromLatin1(tipo));
    blobs.FieldByName(u"Objeto"_qs).SetAsBytes(bytes);
    blobs.Post();
  }
  Impreso(u"FAC"_qs, u"DocumentosAdjuntos=Auto\r\nConexionDocumentosAdjuntos=CLIENTES>Nombre;CodigoTemporal\r\n"
                     "[CABECERA]\r\nText=10;10;0;Hola"_qs);
  Ejecutar(u"ALTER TABLE TEMPIMP ADD Nombre VARCHAR(30) NULL"_qs);
  Documentos(3);
  Ejecutar(u"UPDATE TEMPIMP SET Nombre = 'O''Brien' WHERE CodigoTemporal = 2"_qs);
  mensajes.Expect(u"A"_qs);
  const QString destino = carpeta.File(u"auto.pdf"_qs);
  auto formulario = Formulario();
  formulario->SalidaImpreso = u"PDF:"_qs + destino;
  formulario->ImprimirImpreso();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  const QString aviso = mensajes.Messages()[0].text;
  EXPECT_TRUE(aviso.startsWith(u"Se ha producido un error al generar el archivo PDF. Motivo: "_qs)) << aviso.toStdString();
  EXPECT_EQ(aviso.count(u'\n'), 2) << aviso.toStdString();  // the damaged, the locked and the empty one
  ASSERT_EQ(PdfInfo(destino).value(u"Pages"_qs).toInt(), 6);
  EXPECT_EQ(PalabrasPorPagina(destino, 6),
            QStringList({u"Hola"_qs, u"Hola"_qs, u"ADJUNTOA"_qs, u"ADJUNTOB"_qs, u"ADJUNTOE"_qs, u"Hola"_qs}));
}
