#include "core/messages/MensajeSistema.h"
#include "platform/report/PdfCreator.h"
#include "printing/Genelimp.h"
#include "printing/salidas/SalidasImpreso.h"

#include <QDir>
#include <QFile>

void AvisoErrorPDF(const QString& motivo) {
  MensajeAviso(u"Se ha producido un error al generar el archivo PDF. Motivo: "_qs + motivo);
}

bool EscribirPaginasPDF(TfGENELIMP& motor, const QString& nombre) {
  const QString paginas = motor.TomarPaginasPDF();
  const QString pieza = QDir(motor.CarpetaPiezas()).filePath(nombre);
  QString error = motor.ErrorPaginasPDF();
  if (error.isEmpty() && !paginas.isEmpty()) {
    QFile::remove(pieza);
    if (!QFile::rename(paginas, pieza)) error = u"No se puede escribir "_qs + pieza;
  }
  if (!paginas.isEmpty()) QFile::remove(paginas);
  if (!error.isEmpty()) {
    AvisoErrorPDF(error);
    return false;
  }
  if (paginas.isEmpty()) return false;
  motor.ArchivosPDF.append(pieza);
  return true;
}

void SalidaPDF(TfGENELIMP& motor) {
  const std::optional<DefinicionImpreso>& impreso = motor.Ejecucion().Definicion();
  if (!impreso || impreso->modo != u"MSWord") {
    if (motor.NumeroPaginas() > 0) EscribirPaginasPDF(motor, u"ZEMPDFCreatorTempDoc.pdf"_qs);
    if (!VisualizarEnPantalla) motor.LiberarPaginas();
    if (Salidas().ImprimirDocumentosAdjuntos) Salidas().ImprimirDocumentosAdjuntos(motor);
  }
  GenerarPDF(motor);
}

void GenerarPDF(TfGENELIMP& motor) {
  if (motor.ArchivosPDF.isEmpty()) return;
  const QString destino = motor.SalidaImpreso.mid(4);
  const QString error = motor.ArchivosPDF.size() > 1 ? PdfCreator::Join(motor.ArchivosPDF, destino)
                                                     : PdfCreator::Copy(motor.ArchivosPDF.first(), destino);
  if (!error.isEmpty()) AvisoErrorPDF(error);
  motor.RetirarPiezas();
}
