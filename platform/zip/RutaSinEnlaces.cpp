#include "platform/zip/RutaSinEnlaces.h"

#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

void Vaciar(int carpeta, const QList<QByteArray>& conservadas, const std::function<void()>& trasBorrar) {
  DIR* lista = nullptr;
  if (const int copia = ::openat(carpeta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); copia >= 0) {
    lista = ::fdopendir(copia);
    if (!lista) ::close(copia);
  }
  if (!lista) return;
  while (const dirent* entrada = ::readdir(lista)) {
    if (std::strcmp(entrada->d_name, ".") == 0 || std::strcmp(entrada->d_name, "..") == 0 ||
        conservadas.contains(QByteArray(entrada->d_name)))
      continue;
    if (::unlinkat(carpeta, entrada->d_name, 0) != 0) {
      if (errno != EISDIR) continue;
      if (const Descriptor dentro(::openat(carpeta, entrada->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
          dentro.Valido())
        Vaciar(dentro.get(), {}, trasBorrar);
      if (::unlinkat(carpeta, entrada->d_name, AT_REMOVEDIR) != 0) continue;
    }
    if (trasBorrar) trasBorrar();
  }
  ::closedir(lista);
}

}  // namespace ColocacionZip
