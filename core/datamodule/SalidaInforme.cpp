#include "core/datamodule/SalidaInforme.h"

#include "core/datamodule/Genemodu.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "platform/CommonDialogs.h"
#include "platform/data/Field.h"
#include "platform/report/PdfSink.h"
#include "platform/report/Printer.h"
#include "platform/report/PrinterSink.h"
#include "platform/report/ReportEngine.h"

namespace {

const QString kPrefijoPDF = QStringLiteral("PDF:");

// The general parameters are not open in the application manager: the dialog is then shown.
QString SolicitarDialogoImpresora() {
  if (!ModuloDatos || !ModuloDatos->ParamGenerales->Active()) return {};
  const Field* campo = ModuloDatos->ParamGenerales->FindField(QStringLiteral("SolicitarDialogoImpresora"));
  return campo ? campo->AsString() : QString();
}

void Imprimir(ReportEngine& informe) {
  PrinterSink impresora(informe.PrinterSettings, informe.Title);
  informe.Run(impresora);
}

void GenerarPDF(ReportEngine& informe, const QString& archivo) {
  try {
    PdfSink pdf(archivo);
    informe.Run(pdf);
  } catch (const PdfWriteError& error) {
    MensajeAviso(QStringLiteral("Se ha producido un error al generar el archivo PDF. Motivo: ") + error.Message());
  }
}

}  // namespace

void GenerarSalidaInforme(ReportEngine& informe, const QString& destino) {
  if (destino.startsWith(kPrefijoPDF)) {
    GenerarPDF(informe, ExtraerElemento(1, destino, kPrefijoPDF));
  } else if (destino.isEmpty()) {
    if (SolicitarDialogoImpresora() == QLatin1String("NO") || DialogoImpresionInforme(informe)) Imprimir(informe);
  } else {
    const QStringList impresoras = PrinterSeam::Get().Printers();
    for (qsizetype indice = 0; indice < impresoras.size(); ++indice) {
      if (!impresoras.at(indice).contains(destino, Qt::CaseSensitive)) continue;
      informe.PrinterSettings.PrinterIndex = static_cast<int>(indice);
      Imprimir(informe);
      return;
    }
  }
}

bool DialogoImpresionInforme(ReportEngine& informe) {
  PrintDialog sinModulo;
  PrintDialog& dialogo = ModuloDatos ? ModuloDatos->PrintDialog1 : sinModulo;
  dialogo.PrintToFile = true;
  dialogo.PageNumbers = true;
  dialogo.Choice = informe.PrinterSettings;
  dialogo.Choice.Orientation = informe.Page.Orientation;
  if (!CommonDialogsSeam::Get().Execute(dialogo)) return false;
  informe.PrinterSettings = dialogo.Choice;
  // The report is laid out again on the paper as it was turned.
  informe.Page.Orientation = dialogo.Choice.Orientation;
  return true;
}
