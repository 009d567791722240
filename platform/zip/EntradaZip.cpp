#include "platform/zip/EntradaZip.h"

#include <QRegularExpression>

#include <sys/stat.h>

namespace EntradaZip {

std::optional<QString> NombreSeguro(const QString& nombre) {
  const QString entrada = QString(nombre).replace(u'\\', u'/');
  if (entrada.isEmpty() || entrada.startsWith(u'/') || (entrada.size() >= 2 && entrada[1] == u':')) return std::nullopt;
  QStringList piezas;
  for (const QString& pieza : entrada.split(u'/', Qt::SkipEmptyParts)) {
    if (pieza == u"..") return std::nullopt;
    if (pieza != u".") piezas.append(pieza);
  }
  if (piezas.isEmpty()) return QString();
  return piezas.join(u'/') + (entrada.endsWith(u'/') ? QStringLiteral("/") : QString());
}

bool EsEspecial(std::uint32_t modoUnix) {
  const mode_t tipo = modoUnix & S_IFMT;
  return tipo != 0 && tipo != S_IFREG && tipo != S_IFDIR;
}

std::uint32_t PermisosConservados(std::uint32_t modoUnix) { return modoUnix & 0777; }

bool Elegida(const QString& nombre, const QStringList& patronesArchivo) {
  if (patronesArchivo.isEmpty()) return true;
  const QString ruta = QString(nombre).replace(u'\\', u'/');
  const QString archivo = ruta.mid(ruta.lastIndexOf(u'/') + 1);
  for (QString patron : patronesArchivo) {
    patron.replace(u'\\', u'/');
    if (patron == QLatin1String("*.*")) patron = QStringLiteral("*");
    const QRegularExpression expresion(
        QRegularExpression::wildcardToRegularExpression(patron),
        QRegularExpression::CaseInsensitiveOption);
    if (expresion.match(patron.contains(u'/') ? ruta : archivo).hasMatch()) return true;
  }
  return false;
}

}  // namespace EntradaZip
