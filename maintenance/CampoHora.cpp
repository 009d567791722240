#include "maintenance/CampoHora.h"

#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"

void MostrarComoHora(Field& campo) {
  campo.OnGetText = [](Field& hora, QString& texto, bool) {
    texto = hora.IsNull() ? QString() : FormatDateTime(QStringLiteral("hh:nn:ss"), hora.AsDateTime());
  };
  campo.OnSetText = [](Field& hora, const QString& texto) {
    if (texto.trimmed().remove(u':').isEmpty()) hora.Clear();
    else hora.SetAsDateTime(StrToTime(texto));
  };
}

void MostrarComoHoraAlAbrir(Dataset& tabla, const QString& campo) {
  MostrarComoHora(tabla.FieldByName(campo));
  emit tabla.DataChanged(nullptr);
}
