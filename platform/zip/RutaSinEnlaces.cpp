#include "platform/zip/RutaSinEnlaces.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace ColocacionZip {

bool RutaInterior(const QString& relativa) {
  if (relativa.isEmpty() || relativa.contains(u'\\') || relativa.contains(QChar(u'\0'))) return false;
  for (const QStringView pieza : QStringView(relativa).split(u'/'))
    if (pieza.isEmpty() || pieza == u"." || pieza == u"..") return false;
  return true;
}

Descriptor AbrirPadre(int base, const QString& relativa) {
  const QStringList piezas = relativa.split(u'/');
  Descriptor actual(::fcntl(base, F_DUPFD_CLOEXEC, 0));
  for (qsizetype i = 0; i + 1 < piezas.size() && actual.Valido(); ++i) {
    Descriptor siguiente(::openat(actual.get(), QFile::encodeName(piezas[i]).constData(),
                                  O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    const int error = errno;
    actual = std::move(siguiente);
    errno = error;
  }
  return actual;
}

QByteArray Hoja(const QString& relativa) { return QFile::encodeName(relativa.mid(relativa.lastIndexOf(u'/') + 1)); }

bool SinEnlaces(int base, const QString& relativa) {
  errno = 0;
  return AbrirPadre(base, relativa).Valido() || errno == ENOENT;
}

bool ExisteEn(int base, const QString& relativa) {
  const Descriptor padre = AbrirPadre(base, relativa);
  struct stat estado;
  return padre.Valido() && ::fstatat(padre.get(), Hoja(relativa).constData(), &estado, AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace ColocacionZip
