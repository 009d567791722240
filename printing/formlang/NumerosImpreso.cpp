#include "printing/formlang/NumerosImpreso.h"

#include "platform/format/Format.h"

#include <cmath>

bool LeerNumeroImpreso(const QString& texto, double& valor) {
  double leido = 0;
  if (!TryStrToFloat(texto, leido) || !std::isfinite(leido) || std::fabs(leido) > MayorNumeroImpreso) return false;
  valor = leido;
  return true;
}

bool LeerEnteroImpreso(const QString& texto, qint64& valor) {
  qint64 leido = 0;
  if (!TryStrToInt64(texto, leido) || leido > MayorNumeroImpreso || leido < -MayorNumeroImpreso) return false;
  valor = leido;
  return true;
}

double NumeroImpreso(const QString& texto) {
  double valor = 0;
  return LeerNumeroImpreso(texto, valor) ? valor : 0;
}

bool NumeroCampo(const QVariant& valor, double& numero) {
  if (valor.isNull()) return false;
  switch (valor.metaType().id()) {
    case QMetaType::QString: return TryStrToFloat(valor.toString(), numero);
    case QMetaType::Bool: return false;
    default: {
      bool leido = false;
      numero = valor.toDouble(&leido);
      return leido;
    }
  }
}
