#include "printing/salidas/SalidasImpreso.h"

#include "printing/Genelimp.h"

void InstalarSalidasImpreso() {
  SalidasImpreso& salidas = Salidas();
  if (!salidas.SalidaASCII) salidas.SalidaASCII = EnviarTextoImpresora;
  if (!salidas.SalidaWord) salidas.SalidaWord = ImprimirDocumentoWord;
  if (!salidas.ImprimirDocumentosAdjuntos) salidas.ImprimirDocumentosAdjuntos = AdjuntarDocumentosWord;
  if (!salidas.GenerarPDF) salidas.GenerarPDF = SalidaPDF;
  if (!salidas.AdjuntosAutomaticos) salidas.AdjuntosAutomaticos = AdjuntarDocumentosAutomaticamente;
}
