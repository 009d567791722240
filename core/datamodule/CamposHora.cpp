#include "core/datamodule/CamposHora.h"

#include "platform/data/Field.h"
#include "platform/format/Format.h"

bool EsCampoHora(const Field& campo) {
  return campo.DataType() == ftDateTime && campo.FieldName().contains(QLatin1String("Hora"));
}

bool EsCampoHoraRegistro(const Field& campo) {
  return campo.DataType() == ftDateTime && campo.FieldName().contains(QLatin1String("HORA"), Qt::CaseInsensitive);
}

QString TextoCampoRegistro(const Field& campo) {
  if (!EsCampoHoraRegistro(campo)) return campo.AsString();
  return campo.IsNull() ? QString() : TimeToStr(campo.AsDateTime());
}
