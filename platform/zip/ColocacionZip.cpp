#include "platform/zip/ColocacionZip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ColocacionZip {

namespace {

const QString Nuevos = QStringLiteral("/nuevos/");
const QString Anteriores = QStringLiteral("/anteriores/");
const QString Lista = QStringLiteral("/colocando");
const QString Terminada = QStringLiteral("/colocado");
constexpr char MarcaArchivo = 'A';     // a file the target did not have
constexpr char MarcaReemplazo = 'R';   // a file replacing one the target had
constexpr char MarcaCarpeta = 'D';

QByteArray Nativo(const QString& ruta) { return QFile::encodeName(ruta); }

bool Existe(const QString& ruta) {
  struct stat estado;
  return ::lstat(Nativo(ruta).constData(), &estado) == 0;
}

// The target folder's parent and the start of its staging folders' names:
// beside the folder itself where a link leads to it, so that its files are
// moved within their own disk.
struct Sitio {
  QString padre;
  QString prefijo;
};
Sitio SitioDe(const QString& carpeta) {
  const QString real = QFileInfo(carpeta).canonicalFilePath();
  const QFileInfo destino(real.isEmpty() ? QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()) : real);
  return {destino.absolutePath(), u'.' + destino.fileName() + QStringLiteral(".descomprimiendo-")};
}

// What is being placed: files and the folders made for them, in order, and
// which files replace one the target had.
struct Colocacion {
  QStringList archivos;
  QStringList carpetas;
  QSet<QString> reemplazos;
};

bool EscribirLista(const QString& raiz, const Colocacion& colocacion) {
  QByteArray texto;
  for (const QString& carpeta : colocacion.carpetas) texto += MarcaCarpeta + carpeta.toUtf8().toPercentEncoding() + '\n';
  for (const QString& archivo : colocacion.archivos)
    texto += (colocacion.reemplazos.contains(archivo) ? MarcaReemplazo : MarcaArchivo) +
             archivo.toUtf8().toPercentEncoding() + '\n';
  QFile lista(raiz + Lista + QStringLiteral(".tmp"));
  if (!lista.open(QIODevice::WriteOnly) || lista.write(texto) != texto.size() || !lista.flush() ||
      ::fsync(lista.handle()) != 0)
    return false;
  lista.close();
  return ::rename(Nativo(lista.fileName()).constData(), Nativo(raiz + Lista).constData()) == 0;
}

Colocacion LeerLista(const QString& raiz) {
  Colocacion colocacion;
  QFile lista(raiz + Lista);
  if (!lista.open(QIODevice::ReadOnly)) return colocacion;
  for (const QByteArray& linea : lista.readAll().split('\n')) {
    if (linea.isEmpty()) continue;
    const QString ruta = QString::fromUtf8(QByteArray::fromPercentEncoding(linea.mid(1)));
    (linea[0] == MarcaCarpeta ? colocacion.carpetas : colocacion.archivos).append(ruta);
    if (linea[0] == MarcaReemplazo) colocacion.reemplazos.insert(ruta);
  }
  return colocacion;
}

// Puts back every file replaced and removes every file and folder added,
// whether the run got to them or not. A replaced file whose former version is
// no longer aside is already back (an undoing cut short is undone again).
void Deshacer(const QString& raiz, const QString& carpeta) {
  const Colocacion colocacion = LeerLista(raiz);
  for (auto it = colocacion.archivos.crbegin(); it != colocacion.archivos.crend(); ++it) {
    const QString destino = carpeta + u'/' + *it;
    const QString anterior = raiz + Anteriores + *it;
    const bool colocado = !Existe(raiz + Nuevos + *it);
    if (Existe(anterior))
      ::rename(Nativo(anterior).constData(), Nativo(destino).constData());
    else if (colocado && !colocacion.reemplazos.contains(*it))
      ::unlink(Nativo(destino).constData());
  }
  for (auto it = colocacion.carpetas.crbegin(); it != colocacion.carpetas.crend(); ++it)
    ::rmdir(Nativo(carpeta + u'/' + *it).constData());
}

// The folders of the target the files and folders need that are not there yet,
// each after its parent.
QStringList CarpetasQueFaltan(const QString& carpeta, const QStringList& archivos, const QStringList& carpetas) {
  QStringList faltan;
  QSet<QString> vistas;
  const auto anadir = [&](const QString& relativa) {
    const QStringList piezas = relativa.split(u'/', Qt::SkipEmptyParts);
    QString ruta;
    for (const QString& pieza : piezas) {
      ruta += ruta.isEmpty() ? pieza : u'/' + pieza;
      if (vistas.contains(ruta)) continue;
      vistas.insert(ruta);
      if (!Existe(carpeta + u'/' + ruta)) faltan.append(ruta);
    }
  };
  for (const QString& relativa : carpetas) anadir(relativa);
  for (const QString& archivo : archivos) anadir(QFileInfo(archivo).path() == u"." ? QString() : QFileInfo(archivo).path());
  return faltan;
}

// The old file goes aside as a second name of itself, so the target never
// lacks it; where no second name can be made it is moved.
bool ApartarAnterior(const QString& destino, const QString& anterior) {
  struct stat estado;
  if (::lstat(Nativo(destino).constData(), &estado) != 0) return errno == ENOENT;
  if (S_ISDIR(estado.st_mode)) {
    errno = EISDIR;
    return false;
  }
  QDir().mkpath(QFileInfo(anterior).path());
  return ::link(Nativo(destino).constData(), Nativo(anterior).constData()) == 0 ||
         ::rename(Nativo(destino).constData(), Nativo(anterior).constData()) == 0;
}

}  // namespace

std::function<void(int)>& GanchoColocacion() {
  static std::function<void(int)> gancho;
  return gancho;
}

CerrojoCarpeta::CerrojoCarpeta(const QString& carpeta)
    : fd_(::open(Nativo(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

CerrojoCarpeta::~CerrojoCarpeta() {
  if (fd_ >= 0) ::close(fd_);
}

void RecuperarRestos(const QString& carpeta) {
  const Sitio sitio = SitioDe(carpeta);
  const QString destino = QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath());
  const QStringList restos =
      QDir(sitio.padre).entryList({sitio.prefijo + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
  for (const QString& nombre : restos) {
    if (!nombre.startsWith(sitio.prefijo)) continue;
    const QString raiz = sitio.padre + u'/' + nombre;
    if (!Existe(raiz + Terminada)) Deshacer(raiz, destino);
    QDir(raiz).removeRecursively();
  }
  // Earlier versions, given a folder ending in "/", staged inside it.
  const QString dentro = QStringLiteral("..descomprimiendo-");
  for (const QString& nombre :
       QDir(destino).entryList({dentro + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks))
    if (nombre.startsWith(dentro)) QDir(destino + u'/' + nombre).removeRecursively();
}

void Recuperar(const QString& carpeta) {
  if (!QFileInfo(carpeta).isDir()) return;
  const CerrojoCarpeta cerrojo(carpeta);
  RecuperarRestos(carpeta);
}

Preparacion::Preparacion(const QString& carpeta) : carpeta_(QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath())) {
  const Sitio sitio = SitioDe(carpeta);
  QTemporaryDir preparacion(sitio.padre + u'/' + sitio.prefijo + QStringLiteral("XXXXXX"));
  if (!preparacion.isValid() || !QDir(preparacion.path()).mkdir(QStringLiteral("nuevos"))) {
    error_ = preparacion.errorString();
    terminada_ = true;
    return;
  }
  preparacion.setAutoRemove(false);
  raiz_ = preparacion.path();
}

Preparacion::~Preparacion() {
  if (raiz_.isEmpty()) return;
  if (!terminada_) Deshacer(raiz_, carpeta_);
  QDir(raiz_).removeRecursively();
}

QString Preparacion::RutaNueva(const QString& relativo) const { return raiz_ + Nuevos + relativo; }

std::optional<QString> Preparacion::Colocar(const QStringList& archivos, const QStringList& carpetas) {
  Colocacion colocacion{archivos, CarpetasQueFaltan(carpeta_, archivos, carpetas), {}};
  for (const QString& relativo : archivos)
    if (Existe(carpeta_ + u'/' + relativo)) colocacion.reemplazos.insert(relativo);
  const auto fallo = [this](const QString& relativo) -> std::optional<QString> {
    const int error = errno;
    Deshacer(raiz_, carpeta_);
    terminada_ = true;
    errno = error;
    return relativo;
  };
  if (!EscribirLista(raiz_, colocacion)) return fallo(raiz_ + Lista);
  for (const QString& relativa : colocacion.carpetas)
    if (::mkdir(Nativo(carpeta_ + u'/' + relativa).constData(), 0777) != 0) return fallo(relativa);
  int colocados = 0;
  for (const QString& relativo : colocacion.archivos) {
    const QString destino = carpeta_ + u'/' + relativo;
    if (!ApartarAnterior(destino, raiz_ + Anteriores + relativo) ||
        ::rename(Nativo(RutaNueva(relativo)).constData(), Nativo(destino).constData()) != 0)
      return fallo(relativo);
    if (GanchoColocacion()) GanchoColocacion()(++colocados);
  }
  QFile marca(raiz_ + Terminada);
  marca.open(QIODevice::WriteOnly);
  terminada_ = true;
  return std::nullopt;
}

}  // namespace ColocacionZip
