#include "dialogs/DatosBusqueda.h"

#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "platform/StringList.h"

namespace {

const QString kClave = QStringLiteral("DatosBusqueda");

StringList entradas(QString texto) {
  texto.replace(u':', u'=');
  texto.replace(u',', QLatin1String("\r\n"));
  StringList lineas;
  lineas.SetText(texto);
  for (int i = lineas.Count() - 1; i >= 0; --i)
    if (lineas[i].isEmpty()) lineas.Delete(i);
  return lineas;
}

}  // namespace

QString LeerDatosBusqueda(const QString& tabla) {
  return entradas(LeerConfigUsuario(CodigoUsuarioActual, kClave, QString())).Values(tabla);
}

void GrabarDatosBusqueda(const QString& tabla, const QString& valor) {
  try {
    CambiarConfigUsuario(CodigoUsuarioActual, kClave, [&](const QString& actual) {
      StringList lineas = entradas(actual);
      if (lineas.Values(tabla) == valor) return actual;
      lineas.SetValue(tabla, valor);
      QString texto;
      for (int i = 0; i < lineas.Count(); ++i) texto += lineas[i] + u',';
      texto.replace(u'=', u':');
      return texto;
    });
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("¡Imposible grabar la configuración del usuario!. Motivo: ") + TextoExcepcion(error));
  }
}
