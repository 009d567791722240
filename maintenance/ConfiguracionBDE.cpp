#include "maintenance/ConfiguracionBDE.h"

#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/data/Session.h"
#include "platform/sqlite/DatabaseError.h"

namespace {

constexpr int kLongitudValor = 127;
const QString kSeccionAlias = QStringLiteral("Databases\\");

struct Parametro {
  QString ruta;     // as given, for the error
  QString seccion;  // without the "\" at its ends
  QString nombre;
};

Parametro partes(const QString& parametro) {
  const qsizetype separador = parametro.indexOf(u';');
  if (separador < 0)
    throw Exception(QStringLiteral(
        "Invalid parameter passed tofunction.  There must be a semicolon delimited string passed."));
  Parametro partes{parametro.left(separador), parametro.left(separador), parametro.mid(separador + 1)};
  while (partes.seccion.startsWith(u'\\')) partes.seccion.remove(0, 1);
  while (partes.seccion.endsWith(u'\\')) partes.seccion.chop(1);
  return partes;
}

IniFile configuracion(const Parametro& parametro) {
  IniFile archivo(Session::Default().ConfigFile());
  if (!archivo.SectionExists(parametro.seccion))
    throw EDatabaseError(QStringLiteral("Object not found"), QStringLiteral("Configuración: ") + parametro.ruta);
  return archivo;
}

}  // namespace

QString LeerParametroBDE(const QString& parametro) {
  const Parametro buscado = partes(parametro);
  return configuracion(buscado).ReadString(buscado.seccion, buscado.nombre, QString()).left(kLongitudValor);
}

void EscribirParametroBDE(const QString& parametro, const QString& valor) {
  const Parametro buscado = partes(parametro);
  IniFile archivo = configuracion(buscado);
  if (archivo.ValueExists(buscado.seccion, buscado.nombre))
    archivo.WriteString(buscado.seccion, buscado.nombre, valor.left(kLongitudValor));
}

QStringList AliasConfiguracionBDE() {
  const IniFile archivo(Session::Default().ConfigFile());
  QStringList alias;
  for (const QString& nombre : Session::Default().GetAliasNames())
    if (archivo.SectionExists(kSeccionAlias + nombre)) alias.append(nombre);
  return alias;
}
