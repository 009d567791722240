#include "maintenance/ComprobacionesInstalacion.h"

#include "maintenance/ConfiguracionBDE.h"
#include "maintenance/RegistroWindows.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/PlainMessage.h"

#include <QFileInfo>

namespace {

qint64 numero(const QString& texto) { return texto.trimmed().toLongLong(); }

class CarpetaBibliotecas : public CarpetaSistema {
 public:
  QString Ruta() override { return QStringLiteral("/usr/lib"); }
};

}  // namespace

QString ComprobarValorRegistro(const QString& raiz, const QString& clave, const QString& nombre, const QString& tipo,
                               const QString& objetivo) {
  QString valor;
  try {
    valor = RegistroWindows().Leer(raiz, clave, nombre, tipo);
  } catch (const Exception& error) {
    return nombre + QStringLiteral(" en ") + clave + u',' + QStringLiteral(" presenta el siguiente error: ") +
           error.Message();
  }
  bool correcto = valor == objetivo;
  if (tipo == u"dword")
    correcto = objetivo.startsWith(u">=") ? numero(valor) >= numero(objetivo.mid(2)) : numero(valor) == numero(objetivo);
  if (correcto) return QString();
  return nombre + u'=' + valor + QStringLiteral(" no es un valor correcto en ") + clave + u'.';
}

bool EscribirValorRegistro(const QString& raiz, const QString& clave, const QString& nombre, const QString& valor,
                           const QString& tipo) {
  RegistroWindows registro;
  const bool existia = registro.ExisteClave(raiz, clave);
  try {
    registro.Escribir(raiz, clave, nombre, valor, tipo);
    return true;
  } catch (const Exception&) {
    if (!existia)
      ShowMessage(QStringLiteral("Error creando la clave ") + clave + QStringLiteral(" en el registro de Windows."));
    return false;
  }
}

QString ComprobarParametroBDE(const QString& direccion, const QString& parametro, const QString& objetivo,
                              const QString& tipo) {
  const QString valor = LeerParametroBDE(parametro);
  const QString mensaje = QStringLiteral("El valor ") + parametro.section(u';', 1) + u'=' + valor +
                          QStringLiteral(" de la Direccion ") + direccion;
  if (objetivo.startsWith(u"<>")) {
    if (tipo == u"string" && valor == objetivo.mid(2)) return mensaje + QStringLiteral(" no es correcto.");
    return QString();
  }
  if (objetivo.startsWith(u">=")) {
    if (tipo == u"integer" && numero(valor) < numero(objetivo.mid(2)))
      return mensaje + QStringLiteral(" no es correcto (debería ser >= ") + objetivo.mid(2) + QStringLiteral(").");
    return QString();
  }
  const bool distinto = tipo == u"integer" ? numero(valor) != numero(objetivo) : valor != objetivo;
  if (distinto) return mensaje + QStringLiteral(" no es correcto (debería ser ") + objetivo + QStringLiteral(").");
  return QString();
}

QString EstadoServicio(const QString&, const QString&) { return QStringLiteral("No disponible"); }

CarpetaSistema& CarpetaSistema::Default() {
  static CarpetaBibliotecas carpeta;
  return carpeta;
}

QString DirectorioSistema() { return CarpetaSistemaSeam::Get().Ruta(); }

TDateTime FechaArchivo(const QString& archivo) {
  const QFileInfo info(Paths::FindFile(QFileInfo(archivo).path(), QFileInfo(archivo).fileName()));
  if (!info.isFile() || !info.isReadable()) return -1;
  return ToDateTime(info.lastModified());
}
