#include "core/helpers/Listas.h"
#include "core/messages/MensajeSistema.h"
#include "platform/Paths.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/report/PdfCreator.h"
#include "platform/report/PrintQueue.h"
#include "platform/word/PlantillaWord.h"
#include "printing/Genelimp.h"
#include "printing/salidas/SalidasImpreso.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void AvisoWord(const QString& motivo) { MensajeAviso(u"¡Imposible conectar con Word!. (Motivo: "_qs + motivo + u')'); }

PlantillaWord::ValorCampo CamposDe(const Table& fila) {
  return [&fila](const QString& campo) -> std::optional<QString> {
    const Field* encontrado = fila.FindField(campo);
    if (!encontrado) return std::nullopt;
    return encontrado->AsString();
  };
}

// A Word document as .docx in the run's folder: copied, or converted when it
// is in another format; the reason it could not be, empty on success.
QString DocumentoDocx(TfGENELIMP& motor, const QString& documento, const QString& nombre, QString& docx) {
  docx = QDir(motor.CarpetaPiezas()).filePath(nombre + u".docx"_qs);
  if (QFileInfo(documento).suffix().compare(u"docx"_qs, Qt::CaseInsensitive) == 0) return PdfCreator::Copy(documento, docx);
  return PdfCreator::Convert(documento, docx);
}

// The document filled from the current document row, then printed on the
// default queue or made the PDF piece of that number.
void SalidaDocumento(TfGENELIMP& motor, const QString& docx, int numero, bool avisarWord) {
  const QString relleno = QFileInfo(docx).path() + u"/relleno-"_qs + QFileInfo(docx).fileName();
  const QString motivo = PlantillaWord::Rellenar(docx, relleno, CamposDe(*motor.Temporal));
  if (!motivo.isEmpty()) {
    if (avisarWord) AvisoWord(motivo);
    return;
  }
  const bool pdf = motor.SalidaImpreso.startsWith(u"PDF:"_qs);
  const QString pieza = QDir(motor.CarpetaPiezas()).filePath(u"ZEMPDFCreatorTempWord%1.pdf"_qs.arg(numero));
  const QString error = PdfCreator::Convert(relleno, pieza);
  QFile::remove(relleno);
  if (pdf) {
    if (error.isEmpty())
      motor.ArchivosPDF.append(pieza);
    else
      AvisoErrorPDF(error);
    return;
  }
  if (!error.isEmpty()) {
    AvisoWord(error);
  } else if (!PrintQueueSeam::Get().SendPdf(QString(), QFileInfo(docx).fileName(), pieza)) {
    MensajeAviso(u"Se ha producido un error al imprimir. Motivo: "_qs +
                 u"No se ha podido iniciar la impresión en "_qs + u"Predeterminada"_qs);
  }
  QFile::remove(pieza);
}

struct TrabajoAdjunto {
  QString codigoTemporal;
  QString documento;
};

// Each document row with each entry of the list: a path, or a path whose
// "Camp=" names a field and an extension, "Camp=" giving way to the field's
// value ("Camp=" and a field the rows lack gives no document).
QList<TrabajoAdjunto> TrabajosAdjuntos(Table& documentos, const QStringList& entradas) {
  QList<TrabajoAdjunto> trabajos;
  for (documentos.First(); !documentos.Eof(); documentos.Next()) {
    const QString codigo = documentos.Fields(0).AsString();
    for (const QString& entrada : entradas) {
      const qsizetype campo = entrada.indexOf(u"Camp="_qs);
      if (campo < 0) {
        trabajos.append({codigo, entrada});
        continue;
      }
      const QString resto = entrada.mid(campo + 5);
      const qsizetype punto = resto.lastIndexOf(u'.');
      const Field* valor = documentos.FindField(punto < 0 ? resto : resto.left(punto));
      if (!valor) continue;
      trabajos.append({codigo, entrada.left(campo) + valor->AsString() + u'.' + (punto < 0 ? QString() : resto.mid(punto + 1))});
    }
  }
  return trabajos;
}

}  // namespace

void ImprimirDocumentoWord(TfGENELIMP& motor) {
  const EjecucionImpreso& ejecucion = motor.Ejecucion();
  const std::optional<DefinicionImpreso> impreso = ejecucion.Fuente().Impreso(ejecucion.CodigoDocumento());
  const QString modelo = ValorLista(u"DocumentoModelo"_qs, impreso ? impreso->instrucciones : QString());
  if (modelo.isEmpty()) return;
  QString docx;
  const QString motivo = DocumentoDocx(motor, Paths::Internal(modelo), u"modelo"_qs, docx);
  if (!motivo.isEmpty()) {
    AvisoWord(motivo);
    return;
  }
  Table& documentos = *motor.Temporal;
  int numero = 0;
  for (documentos.First(); !documentos.Eof(); documentos.Next()) SalidaDocumento(motor, docx, ++numero, true);
  QFile::remove(docx);
}

void AdjuntarDocumentosWord(TfGENELIMP& motor) {
  const std::optional<DefinicionImpreso>& impreso = motor.Ejecucion().Definicion();
  const QString adjuntos = ValorLista(u"DocumentosAdjuntos"_qs, impreso ? impreso->instrucciones : QString());
  if (adjuntos.isEmpty() || adjuntos == u"Auto") return;
  Table& documentos = *motor.Temporal;
  const QList<TrabajoAdjunto> trabajos = TrabajosAdjuntos(documentos, adjuntos.split(u','));
  for (qsizetype n = 0; n < trabajos.size(); ++n) {
    QString docx;
    // A document that cannot be opened is left out.
    if (!DocumentoDocx(motor, Paths::Internal(trabajos[n].documento), u"adjunto"_qs, docx).isEmpty()) continue;
    if (documentos.Locate(documentos.Fields(0).FieldName(), Variant::String(trabajos[n].codigoTemporal)))
      SalidaDocumento(motor, docx, int(n + 1), false);
    QFile::remove(docx);
  }
}
