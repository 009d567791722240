#include "core/datamodule/Genemodu.h"
#include "core/messages/MensajeSistema.h"
#include "platform/CommonDialogs.h"
#include "platform/Cp1252.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/report/PrintQueue.h"
#include "platform/report/Printer.h"
#include "printing/Genelimp.h"
#include "printing/salidas/SalidasImpreso.h"

void EnviarTextoImpresora(TfGENELIMP& motor) {
  PrintDialog sinModulo;
  PrintDialog& dialogo = ModuloDatos ? ModuloDatos->PrintDialog1 : sinModulo;
  if (!CommonDialogsSeam::Get().Execute(dialogo)) return;
  const QString impresora =
      dialogo.Choice.PrinterIndex < 0 ? PrinterSeam::Get().DefaultPrinter() : PrinterName(dialogo.Choice.PrinterIndex);
  const EjecucionImpreso& ejecucion = motor.Ejecucion();
  const std::optional<DefinicionImpreso> impreso = ejecucion.Fuente().Impreso(ejecucion.CodigoDocumento());
  Table& documentos = *motor.Temporal;
  QByteArray texto;
  if (const Field* campo = documentos.FindField(u"StreamASCII"_qs)) {
    for (documentos.First(); !documentos.Eof(); documentos.Next()) texto += Cp1252::encode(campo->AsString());
  }
  if (PrintQueueSeam::Get().SendRaw(impresora, impreso ? impreso->descripcion : QString(), texto)) {
    motor.ImpresoraActual = impresora;
    return;
  }
  MensajeAviso(u"Se ha producido un error al imprimir. Motivo: "_qs + u"No se ha podido iniciar la impresión en "_qs +
               impresora);
}
