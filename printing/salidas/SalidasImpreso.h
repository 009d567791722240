#pragma once

#include <QString>

class TfGENELIMP;

// Assigns the engine's output slots: raw text, Word, PDF and the automatic attachments.
void InstalarSalidasImpreso();

// Mode "ASCII": each document's StreamASCII, as it is, in one raw job on the
// printer the user chooses.
void EnviarTextoImpresora(TfGENELIMP& motor);
// Mode "MSWord": the template of "DocumentoModelo" filled for each document,
// printed or made a PDF piece.
void ImprimirDocumentoWord(TfGENELIMP& motor);
// The Word documents "DocumentosAdjuntos" names, filled for each document.
void AdjuntarDocumentosWord(TfGENELIMP& motor);
// The PDF branch of a run: its pages (and attached pieces) into the target.
void SalidaPDF(TfGENELIMP& motor);
// The pieces of the run into the target named after "PDF:": joined, or the
// only one copied; the pieces are removed.
void GenerarPDF(TfGENELIMP& motor);
// "Se ha producido un error al generar el archivo PDF. Motivo: " and the reason.
void AvisoErrorPDF(const QString& motivo);
// Writes the run's pages as a piece of that name; false after a warning.
bool EscribirPaginasPDF(TfGENELIMP& motor, const QString& nombre);
// "DocumentosAdjuntos=Auto": one run per document, each followed by the files stored for it.
void AdjuntarDocumentosAutomaticamente(TfGENELIMP& motor);
