#include "maintenance/RegistroWindows.h"

#include "core/startup/Configuracion.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace {

const QString kMaquinaLocal = QStringLiteral("HKEY_LOCAL_MACHINE");

QString seccion(const QString& raiz, const QString& clave) {
  QString ruta = clave;
  while (ruta.startsWith(u'\\')) ruta.remove(0, 1);
  while (ruta.endsWith(u'\\')) ruta.chop(1);
  return raiz.compare(kMaquinaLocal, Qt::CaseInsensitive) == 0 ? ruta : raiz + u'\\' + ruta;
}

[[noreturn]] void tipoNoValido(const QString& nombre) {
  throw Exception(QStringLiteral("Invalid data type for '%1'").arg(nombre));
}

}  // namespace

RegistroWindows::RegistroWindows() : archivo_(Paths::FindFile(CarpetaPrograma, QString::fromLatin1(kArchivo))) {}

bool RegistroWindows::ExisteClave(const QString& raiz, const QString& clave) const {
  return IniFile(archivo_).SectionExists(seccion(raiz, clave));
}

QString RegistroWindows::Leer(const QString& raiz, const QString& clave, const QString& nombre,
                              const QString& tipo) const {
  const IniFile registro(archivo_);
  const QString lugar = seccion(raiz, clave);
  if (!registro.ValueExists(lugar, nombre)) tipoNoValido(nombre);
  const QString dato = registro.ReadString(lugar, nombre, QString());
  bool numero = false;
  if (tipo == u"dword") {
    if (!dato.startsWith(u"dword:")) tipoNoValido(nombre);
    const qint64 valor = dato.mid(6).trimmed().toLongLong(&numero);
    if (!numero) tipoNoValido(nombre);
    return QString::number(valor);
  }
  if (tipo == u"binary") {
    if (!dato.startsWith(u"hex:")) tipoNoValido(nombre);
    const int byte = dato.mid(4).section(u',', 0, 0).trimmed().toInt(&numero, 16);
    if (!numero) tipoNoValido(nombre);
    return QString::number(byte);
  }
  if (dato.startsWith(u"dword:") || dato.startsWith(u"hex:")) tipoNoValido(nombre);
  return dato;
}

void RegistroWindows::Escribir(const QString& raiz, const QString& clave, const QString& nombre, const QString& valor,
                               const QString& tipo) {
  QString dato = valor;
  if (tipo == u"dword") dato = QStringLiteral("dword:%1").arg(valor.trimmed().toLongLong());
  if (tipo == u"binary")
    dato = QStringLiteral("hex:%1").arg(valor.trimmed().toInt() & 0xFF, 2, 16, QLatin1Char('0'));
  IniFile(archivo_).WriteString(seccion(raiz, clave), nombre, dato);
}
