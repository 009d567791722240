#include "printing/comandos/ComandoVariable.h"

#include "platform/format/Format.h"
#include "printing/comandos/ComandoTexto.h"
#include "printing/comandos/DestinoComandos.h"

#include <optional>

namespace {

std::optional<QString> Valor(const QString& variable, const EjecucionImpreso& ejecucion, const QString& original,
                             const QString& copia) {
  if (variable == u"NumeroPagina") return IntToStr(ejecucion.paginaDocumento);
  if (variable == u"ContadorPaginas") return IntToStr(ejecucion.numeroPaginas);
  if (variable == u"OriginalCopia") return ejecucion.numeroCopia == 1 ? original : copia;
  if (variable == u"NumeroCopia") return IntToStr(ejecucion.numeroCopia);
  if (variable == u"FechaImpresion") return FormatDateTime(u"dd/mm/yyyy"_qs, Now());
  if (variable == u"FechaYHoraImpresion") return FormatDateTime(u"dd/mm/yyyy hh:nn:ss"_qs, Now());
  return std::nullopt;
}

}  // namespace

void ComandoVari(DestinoComandos& destino, const LineaInstruccion& linea) {
  ArgumentosTexto argumentos = LeerArgumentosTexto(linea);
  QString variable = TextoEscrito(destino, argumentos.texto);
  QString original;
  QString copia;
  if (variable.contains(u"OriginalCopia")) {
    original = variable.section(u',', 1, 1);
    copia = variable.section(u',', 2, 2);
    if (original.isEmpty() && copia.isEmpty()) {
      original = u"ORIGINAL"_qs;
      copia = u"COPIA"_qs;
    }
    variable = u"OriginalCopia"_qs;
  }
  const std::optional<QString> valor = Valor(variable, destino.Ejecucion(), original, copia);
  if (!valor) return;
  argumentos.texto = *valor;
  ImprimirTexto(destino, argumentos);
}
