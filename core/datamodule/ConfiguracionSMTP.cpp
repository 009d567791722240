#include "core/datamodule/ConfiguracionSMTP.h"

#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/helpers/Listas.h"

#include <QStringList>

QString ConfigSMTP(const QString& usuario, const QString& opciones, const QString& configuracionEmpresa) {
  static const QStringList claves = {QStringLiteral("ClienteSMTP"),       QStringLiteral("ServidorSMTP"),
                                     QStringLiteral("CodigoUsuarioSMTP"), QStringLiteral("ClaveAccesoSMTP"),
                                     QStringLiteral("PuertoSSL"),         QStringLiteral("CuentaSMTPCopiasDocumentos"),
                                     QStringLiteral("CuentaFromSMTP")};
  const QString sufijo = opciones.contains(QLatin1String("Masivo")) ? QStringLiteral("(Masivo)") : QString();
  QStringList lineas;
  bool propia = false;
  for (const QString& clave : claves) {
    const QString valor = LeerConfigUsuario(usuario, clave + sufijo);
    propia = propia || !valor.isEmpty();
    lineas.append(clave + sufijo + u'=' + valor);
  }
  if (!propia) {
    lineas.clear();
    for (const QString& clave : claves)
      lineas.append(clave + sufijo + u'=' + ValorLista(clave + sufijo, configuracionEmpresa));
  }
  return lineas.join(QStringLiteral("\r\n"));
}
