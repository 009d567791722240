#include "tests/printing/GenelimpFixture.h"

#include "tests/fixtures/PaquetesZip.h"
#include "tests/fixtures/RecordingLauncher.h"
#include "tests/fixtures/RecordingPrintQueue.h"
#include "tests/fixtures/ReportTestSupport.h"

namespace {

// Printouts of mode "MSWord" and Word documents attached to graphic ones,
// made from a template the test builds: its placeholder split over two runs.
class SalidaWord : public Genelimp {
 protected:
  SalidaWord() {
    EscribirPaquete(carpeta.File(u"modelo.docx"_qs),
                    DocumentoWord("<w:p><w:r><w:t>Documento $Codigo</w:t></w:r><w:r><w:t>Temporal$ $Nota$</w:t></w:r></w:p>"));
    Documentos(3);
  }

  static QStringList TextosPorPagina(const QString& archivo) {
    QStringList textos(PdfInfo(archivo).value(u"Pages"_qs).toInt());
    for (const PdfWord& palabra : PdfWords(archivo)) textos[palabra.page - 1] += palabra.text + u' ';
    return textos;
  }

  // A form for each case, kept to the end: the first one freed deletes the temporary tables.
  std::vector<std::unique_ptr<TfGENELIMP>> formularios;
};

}  // namespace

TEST_F(SalidaWord, APdfRunGivesEachDocumentItsFilledTemplateInOrder) {
  Impreso(u"FAC"_qs, u"DocumentoModelo="_qs + carpeta.File(u"modelo.docx"_qs), QString(), u"MSWord"_qs);
  VisualizarEnPantalla = true;  // never for Word: the form clears it
  auto formulario = Formulario();
  formulario->SalidaImpreso = u"PDF:"_qs + carpeta.File(u"word.pdf"_qs);
  formulario->ImprimirImpreso();
  EXPECT_EQ(TextosPorPagina(carpeta.File(u"word.pdf"_qs)),
            QStringList({u"Documento 1 $Nota$ "_qs, u"Documento 2 $Nota$ "_qs, u"Documento 3 $Nota$ "_qs}));
}

TEST_F(SalidaWord, AttachedDocumentsPrintForEachDocumentAndAMissingFieldAddsNone) {
  RecordingPrintQueue cola;
  Impreso(u"FAC"_qs,
          u"DocumentosAdjuntos="_qs + carpeta.File(u"Camp=NoExiste.docx"_qs) + u',' + carpeta.File(u"modelo.docx"_qs) +
              u"\r\n[CABECERA]\r\nText=10;10;0;Hola"_qs,
          u"Oficina 1"_qs);
  Formulario()->ImprimirImpreso();
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  ASSERT_EQ(cola.pdfJobs.size(), 3);
  for (const RecordingPrintQueue::Job& trabajo : cola.pdfJobs) {
    EXPECT_TRUE(trabajo.printer.isEmpty());
    EXPECT_TRUE(trabajo.bytes.startsWith("%PDF"));
  }
}

TEST_F(SalidaWord, WithoutLibreOfficeOrWithABadTemplateTheWordMessage) {
  const struct {
    const char* caso;
    QByteArray plantilla;
    bool arranca;
    const char* motivo;
  } casos[] = {
      {"sin LibreOffice", {}, false, "No se puede ejecutar LibreOffice"},
      {"DOCTYPE", R"(<!DOCTYPE w:document>)", true, "El documento contiene una declaración DOCTYPE"},
  };
  RecordingPrintQueue cola;
  RecordingLauncher programas;
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.caso);
    programas.starts = caso.arranca;
    if (!caso.plantilla.isEmpty()) {
      QMap<QString, QByteArray> partes = DocumentoWord("<w:p/>");
      partes[u"word/document.xml"_qs].insert(partes[u"word/document.xml"_qs].indexOf("<w:document"), caso.plantilla);
      EscribirPaquete(carpeta.File(u"modelo.docx"_qs), partes);
    }
    Ejecutar(u"DELETE FROM IMPRESO"_qs);
    Impreso(u"FAC"_qs, u"DocumentoModelo="_qs + carpeta.File(u"modelo.docx"_qs), QString(), u"MSWord"_qs);
    const QString aviso = u"¡Imposible conectar con Word!. (Motivo: "_qs + QString::fromUtf8(caso.motivo) + u')';
    for (int n = 0; n < 3; ++n) mensajes.Expect(u"A"_qs);
    formularios.push_back(Formulario());
    formularios.back()->ImprimirImpreso();
    EXPECT_EQ(mensajes.Texts().mid(mensajes.Texts().size() - 3), QStringList({aviso, aviso, aviso}));
  }
  EXPECT_TRUE(cola.pdfJobs.isEmpty());
}
