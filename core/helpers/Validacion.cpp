#include "core/helpers/Validacion.h"

#include "core/messages/MensajeSistema.h"
#include "platform/format/Format.h"

namespace {

bool Checked(bool valid, const QString& titulo, const QString& before, const QString& after) {
  if (!valid && !titulo.isEmpty()) MensajeAviso(before + titulo + after);
  return valid;
}

}  // namespace

bool ValidarEntero(const QString& texto, const QString& titulo) {
  int value = 0;
  return Checked(TryStrToInt(texto, value), titulo, QStringLiteral("¡El valor de "),
                 QStringLiteral(" es incorrecto! Repita por favor"));
}

bool ValidarFecha(const QString& texto, const QString& titulo) {
  TDateTime date = 0;
  const bool valid = TryStrToDate(texto, date) && date > StrToDate(QStringLiteral("1/1/1890"));
  return Checked(valid, titulo, QStringLiteral("¡La fecha de "), QStringLiteral(" es incorrecta! Repita por favor"));
}

bool ValidarHora(const QString& texto, const QString& titulo) {
  TDateTime time = 0;
  return Checked(TryStrToTime(texto, time), titulo, QStringLiteral("¡La hora de "),
                 QStringLiteral(" es incorrecta! Repita por favor"));
}
