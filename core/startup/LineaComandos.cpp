#include "core/startup/LineaComandos.h"

#include "core/startup/Configuracion.h"

void LeerLineaComandos(const QStringList& parametros) {
  ParametroL.clear();
  ParametroU.clear();
  ParametroI.clear();
  ParametroT.clear();
  bool posicional = true;
  for (const QString& parametro : parametros) {
    if (parametro.size() >= 2 && parametro[1] == u'=') posicional = false;
    const QString prefijo = parametro.left(2).toUpper();
    const QString valor = parametro.mid(2);
    if (prefijo == QLatin1String("L="))
      ParametroL = valor;
    else if (prefijo == QLatin1String("U="))
      ParametroU = valor;
    else if (prefijo == QLatin1String("I="))
      ParametroI = valor;
    else if (prefijo == QLatin1String("T="))
      ParametroT = valor;
  }
  if (posicional) {
    ParametroL = parametros.value(0);
    ParametroU = parametros.value(1);
  }
}

QStringList ArgumentosLlamada() {
  return {QStringLiteral("L=") + ParametroL, QStringLiteral("U=") + CodigoUsuarioActual,
          QStringLiteral("I=") + ParametroI, QStringLiteral("T=") + ParametroT};
}

QString ParametrosLlamada() { return u' ' + ArgumentosLlamada().join(u' '); }
