#include "dialogs/FiltroValor.h"

#include "core/helpers/Letras.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

bool FiltrarPorValor(Dataset& datos, const Field& campo, const QStringList& operadores) {
  const QString titulo = AbreviarNombre(campo.FieldName(), 1);
  QStringList condiciones;
  for (const QString& operador : operadores) {
    const QString pregunta = operador == u"=" ? QStringLiteral("Introduzca el valor del campo ")
                             : operador == u">=" ? QStringLiteral("Introduzca el valor Desde ")
                                                  : QStringLiteral("Introduzca el valor Hasta ");
    QString valor = campo.DisplayText();
    MensajePregunta(pregunta + titulo, valor);
    if (MensajeCerrado()) return false;
    condiciones.append(u'(' + campo.FieldName() + u' ' + operador + u' ' + Entrecomillar(valor) + u')');
  }
  const QString anterior = datos.Filter();
  const bool filtrado = datos.Filtered();
  try {
    datos.CheckBrowseMode();
    datos.SetFilter(anterior.isEmpty() ? condiciones.join(QStringLiteral(" AND "))
                                            : anterior + QStringLiteral(" AND ") + condiciones.join(QStringLiteral(" AND ")));
    datos.SetFiltered(true);
  } catch (const std::exception&) {
    try {
      datos.SetFilter(anterior);
      datos.SetFiltered(filtrado);
    } catch (const std::exception&) {
      // the filter that was on stays as the engine left it
    }
    MensajeAviso(QStringLiteral("¡No ha sido posible filtrar registros!"));
    return false;
  }
  return true;
}

