#include "printing/comandos/ValoresImpreso.h"

#include "core/forms/FormatosCampo.h"
#include "platform/format/Format.h"
#include "printing/Genelimp.h"
#include "printing/formlang/LineaInstruccion.h"

bool PruebaDiseno() { return FormularioLlamador == u"fGENEIMPR"; }

QString FormatoValor(const LineaInstruccion& linea, const QString& campo) {
  QString formato = linea.Argumento(6);
  if (formato.isEmpty()) return FormatoNumerico(campo);
  const QString negativo = linea.Argumento(7);
  if (negativo.isEmpty()) return formato;
  formato += u';' + negativo;
  const QString cero = linea.Argumento(8);
  return cero.isEmpty() ? formato : formato + u';' + cero;
}

QString TextoCampo(const QVariant& valor) {
  if (valor.isNull()) return QString();
  switch (valor.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float: return FloatToStr(valor.toDouble());
    default: return valor.toString();
  }
}
