#include "printing/comandos/ComandoCampo.h"

#include "core/datamodule/CamposHora.h"
#include "core/datamodule/CamposNoVisibles.h"
#include "core/datamodule/ConversionMoneda.h"
#include "core/datamodule/PresentacionMoneda.h"
#include "core/datamodule/Traduccion.h"
#include "core/helpers/Letras.h"
#include "platform/Exceptions.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"
#include "printing/comandos/ComandoTexto.h"
#include "printing/comandos/DestinoComandos.h"
#include "printing/comandos/GruposAnalisis.h"
#include "printing/comandos/ImpresionMemo.h"
#include "printing/comandos/TablaReferida.h"
#include "printing/comandos/ValoresImpreso.h"
#include "printing/formlang/AjustesImpreso.h"

#include <optional>

namespace {

// The amount in the currency the user shows, from the document's currency.
double ImporteEnMoneda(const EjecucionImpreso& ejecucion, double importe) {
  const CodigosMoneda codigos = Codigos();
  const int documento = ejecucion.codigoMonedaDocumento;
  const bool otra = VerEnOtraMoneda();
  const QString autoInverso = u"AutoInverso"_qs;
  const QString otraMoneda = u"Otra Moneda"_qs;
  QString opcion;
  if (otra)
    opcion = documento == codigos.euro ? QString() : documento == codigos.nacional ? autoInverso : otraMoneda;
  else
    opcion = documento == codigos.euro ? autoInverso : documento == codigos.nacional ? QString() : otraMoneda;
  if (documento == codigos.euro || documento == codigos.nacional) return ConvertirImporte(opcion, importe);
  return ConvertirImporte(opcion, importe * ejecucion.cambioDocumento * CambioMoneda(codigos.nacional));
}

QString FormatoEntero(const LineaInstruccion& linea) {
  return linea.Argumento(6) + u';' + linea.Argumento(7) + u';' + linea.Argumento(8);
}

std::optional<QString> TextoValor(DestinoComandos& destino, const LineaInstruccion& linea, const Field& campo,
                                  const ReferenciaCampo& referencia, bool ocultos) {
  if (ocultos && CampoNoVisible(referencia.nombre)) return QString();
  if (EsCampoHora(campo)) return FormatDateTime(u"hh:nn:ss"_qs, campo.AsDateTime());
  switch (campo.DataType()) {
    case ftDate:
    case ftTime:
    case ftDateTime:
      return campo.IsNull() || campo.AsFloat() == 0 ? QString() : campo.AsString();
    case ftFloat:
    case ftCurrency: {
      double valor = campo.AsFloat();
      if (referencia.euro) valor = ImporteEnMoneda(destino.Ejecucion(), valor);
      return FormatFloat(FormatoValor(linea, referencia.nombre), valor);
    }
    case ftSmallint:
    case ftInteger:
      return linea.Argumento(6).isEmpty() ? campo.AsString() : FormatFloat(FormatoEntero(linea), campo.AsFloat());
    default: {
      const QString texto = campo.AsString();
      if (referencia.pieza <= 0) return texto;
      return texto.section(u';', referencia.pieza - 1, referencia.pieza - 1);
    }
  }
}

qint64 LineaMemoActual(DestinoComandos& destino) {
  Dataset* datos = destino.DatosFila();
  const Field* linea = datos && destino.Ejecucion().geometria.enSeccionLineas ? datos->FindField(u"LineaMemo"_qs) : nullptr;
  if (!linea) return 0;
  try {
    return linea->AsInteger();
  } catch (const Exception&) {
    return 0;
  }
}

}  // namespace

ReferenciaCampo LeerReferenciaCampo(const QString& texto) {
  ReferenciaCampo referencia;
  QString nombre = texto;
  if (nombre.contains(u"(Euro)"_qs)) {
    referencia.euro = true;
    nombre.remove(u"(Euro)"_qs);
  }
  const qsizetype coma = nombre.indexOf(u',');
  if (coma >= 0) {
    qint64 pieza = 0;
    if (TryStrToInt64(nombre.mid(coma + 1), pieza) && pieza > 0 && pieza <= 100000) referencia.pieza = int(pieza);
    nombre.truncate(coma);
  }
  // Only plain names read "ñ" as "n" and drop "-"; a table reference is taken as written.
  if (!nombre.contains(u'.')) nombre.replace(u'ñ', u'n').remove(u'-');
  referencia.nombre = nombre;
  return referencia;
}

void ComandoCamp(DestinoComandos& destino, const LineaInstruccion& linea) {
  const ReferenciaCampo referencia = LeerReferenciaCampo(linea.Argumento(4));
  ArgumentosTexto argumentos = LeerArgumentosTexto(linea);
  const bool tablaReferida = referencia.nombre.contains(u'.');
  if (tablaReferida && LineaMemoActual(destino) > 0) return;
  if (PruebaDiseno()) {
    argumentos.texto = AbreviarNombre(referencia.nombre, 1);
    return ImprimirTexto(destino, argumentos);
  }
  if (!tablaReferida && EsGrupoAnalisis(referencia.nombre)) {
    argumentos.texto = ValorGrupoAnalisis(destino, referencia.nombre);
    return ImprimirTexto(destino, argumentos);
  }
  try {
    std::unique_ptr<Table> referida;
    Dataset* datos = destino.DatosFila();
    QString nombre = referencia.nombre;
    if (tablaReferida) {
      const ReferenciaTabla tabla = LeerReferenciaTabla(referencia.nombre);
      referida = AbrirTablaReferida(destino, tabla);
      datos = referida.get();
      nombre = tabla.campo;
    }
    if (!datos) return;
    const Field* campo = datos->FindField(nombre);
    if (!campo) return;
    if ((campo->DataType() == ftMemo || campo->DataType() == ftFmtMemo) && LineaMemoActual(destino) == 0)
      return ImprimirMemo(destino, linea, referencia, *datos, *campo, tablaReferida);
    const std::optional<QString> texto = TextoValor(destino, linea, *campo, referencia, !tablaReferida);
    if (!texto) return;
    const QString idioma = linea.Argumento(9);
    argumentos.texto = idioma.isEmpty() ? *texto : Traducir(*texto, QString(), idioma);
    ImprimirTexto(destino, argumentos);
  } catch (const Exception&) {
    // A value that does not read or convert, or a table that does not open, prints nothing; the run goes on.
  }
}
