#include "core/helpers/Numeros.h"

#include "platform/format/Format.h"

#include <cmath>

double TextoAFlotante(const QString& texto, const QString& opciones) {
  QString text = texto;
  if (opciones.contains(QLatin1String("PuntoDecimal"))) {
    text.remove(u',');
    text.replace(u'.', FormatSettings::DecimalSeparator);
  } else {
    text.remove(FormatSettings::ThousandSeparator);
  }
  double value = 0;
  return TryStrToFloat(text, value) ? value : 0;
}

bool EsCero(double valor) { return valor >= -0.00001 && valor <= 0.00001; }

double Redondear(double valor) {
  if (!std::isfinite(valor)) return valor;
  const double magnitude = std::fabs(valor);
  double result = 0;
  if (magnitude + 0.5000001 >= 9223372036854775807.0) {
    const double fraction = magnitude - std::trunc(magnitude);
    result = magnitude - fraction + (fraction > 0.5 ? 1 : 0);
  } else {
    result = static_cast<double>(static_cast<qint64>(magnitude + 0.5000001));
  }
  return valor >= 0 || result == 0 ? result : -result;
}

double RedondearDecimales(int decimales, double valor) {
  const double factor = decimales > 0 ? std::pow(10.0, decimales) : 1;
  const double result = Redondear(valor * factor) / factor;
  return std::isfinite(result) ? result : valor;
}
