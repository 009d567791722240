#include "core/datamodule/ValidacionRejilla.h"

#include "core/helpers/Letras.h"
#include "core/messages/MensajeSistema.h"
#include "platform/controls/DBChoiceControls.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/Field.h"

namespace {

QString entreComillas(const QString& texto) { return u'"' + texto + u'"'; }

bool valorDeRejilla(const DBGrid& rejilla, Field& campo) {
  if (rejilla.SelectedField() != &campo) return true;
  for (int columna = 0; columna < rejilla.ColumnCount(); ++columna)
    if (rejilla.ColumnField(columna) == &campo) return ValidarValorColumna(rejilla, columna);
  return true;
}

bool valorDeLista(const DBComboBox& lista, Field& campo) {
  if (lista.findText(campo.Text(), Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) return true;
  MensajeAviso(u"¡El valor "_qs + entreComillas(campo.Text()) + u" del campo "_qs +
               entreComillas(SepararPalabras(campo.FieldName())) + u" no es correcto!"_qs);
  return false;
}

}  // namespace

bool ValidarValorColumna(const DBGrid& rejilla, int columna) {
  const Field* campo = rejilla.ColumnField(columna);
  if (!campo || rejilla.ColumnPickList(columna).contains(campo->Text())) return true;
  MensajeAviso(u"¡ El valor "_qs + entreComillas(campo->Text()) + u" de la columna "_qs +
               entreComillas(rejilla.ColumnTitle(columna)) + u" no es correcto !"_qs);
  return false;
}

bool ValidarValoresRejilla(QObject* control, Field* campo) {
  if (!campo) return true;
  if (auto* rejilla = qobject_cast<DBGrid*>(control)) return valorDeRejilla(*rejilla, *campo);
  if (auto* lista = qobject_cast<DBComboBox*>(control)) return valorDeLista(*lista, *campo);
  return true;
}
