#include "core/datamodule/PresentacionFechaHora.h"

#include "platform/data/Field.h"

namespace {

bool valorCero(const Field& campo) { return campo.IsNull() || campo.AsFloat() == 0; }

}  // namespace

void CompletarHora(Field& campo, const QString& texto) {
  QString hora = texto;
  if (!hora.contains(u':')) hora += u":00:00"_qs;
  if (hora == u":00:00") hora = u"00:00:00"_qs;
  campo.SetAsString(hora);
}

QString MostrarFecha(const Field& campo) {
  if (valorCero(campo)) return {};
  const QString texto = campo.AsString();
  return texto.contains(QLatin1String("1899")) ? QString() : texto;
}

QString MostrarHora(const Field& campo) {
  if (valorCero(campo)) return {};
  const QString texto = campo.AsString();
  return texto.contains(QLatin1String("1899")) ? texto.section(u' ', 1) : texto;
}
