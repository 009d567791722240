#include "platform/zip/EntradaZip.h"

#include <QRegularExpression>

#include <sys/stat.h>

namespace EntradaZip {

QString NombreSeguro(const QString& nombre) {
  QString ruta = nombre;
  ruta.replace(u'\\', u'/');
  if (ruta.isEmpty() || ruta.startsWith(u'/') || (ruta.size() >= 2 && ruta[1] == u':')) return {};
  for (const QString& pieza : ruta.split(u'/'))
    if (pieza == QLatin1String("..")) return {};
  return ruta;
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
