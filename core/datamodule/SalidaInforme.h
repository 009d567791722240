#pragma once

#include <QString>

class ReportEngine;

// Sends a built report without preview: "PDF:" at the start of the
// destination writes the PDF file named after it; an empty destination
// prints through the print dialog (or straight away when the general
// parameter SolicitarDialogoImpresora is "NO"); any other text prints on
// the first printer whose name holds it (case-sensitive), and nothing when
// none does. A PDF that cannot be written is warned about once and the file
// at the target stays as it was; a print job that cannot start raises.
void GenerarSalidaInforme(ReportEngine& informe, const QString& destino);
// Shows the module's print dialog; when accepted its printer, copies,
// orientation and page range become the report's printer settings, and the
// orientation its pages'.
bool DialogoImpresionInforme(ReportEngine& informe);
