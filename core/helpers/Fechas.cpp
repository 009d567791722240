#include "core/helpers/Fechas.h"

#include "platform/format/Format.h"

#include <QDate>

#include <algorithm>

int AnioCompleto(int anio) {
  if (anio > 99) return anio;
  return anio < 50 ? anio + 2000 : anio + 1900;
}

TDateTime TextoAFechaHora(const QString& texto) {
  TDateTime value = 0;
  return TryStrToDateTime(texto, value) ? value : 0;
}

TDateTime SumarMeses(TDateTime fecha, int meses) {
  int year = 0, month = 0, day = 0;
  DecodeDate(fecha, year, month, day);
  if (year == 0) return 0;
  const qint64 total = static_cast<qint64>(year) * 12 + (month - 1) + meses;
  if (total < 12 || total >= 10000 * 12) return 0;  // outside years 1 to 9999
  const int newYear = static_cast<int>(total / 12);
  const int newMonth = static_cast<int>(total % 12) + 1;
  const int lastDay = QDate(newYear, newMonth, 1).daysInMonth();
  return ComposeDateTime(EncodeDate(newYear, newMonth, std::min(day, lastDay)), fecha);
}
