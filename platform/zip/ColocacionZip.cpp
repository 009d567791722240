#include "platform/zip/ColocacionZip.h"

#include "platform/zip/RutaSinEnlaces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace ColocacionZip {

namespace {

const QString Nuevos = QStringLiteral("nuevos/");
const QString Anteriores = QStringLiteral("anteriores/");
// The marks of a target left final: every file placed, or every one undone.
constexpr char Terminada[] = "colocado";
constexpr char Deshecha[] = "deshecho";
const QString PrefijoDentro = QStringLiteral(".descomprimiendo-");
// Earlier versions, given a folder ending in "/", staged inside it with this.
const QString PrefijoAntiguo = QStringLiteral("..descomprimiendo-");

QByteArray Nativo(const QString& ruta) { return QFile::encodeName(ruta); }

// Whether the folder is the root of a file system mounted there.
bool EsPuntoMontaje(const QString& carpeta) {
  struct statx extendido;
  if (::statx(AT_FDCWD, Nativo(carpeta).constData(), 0, STATX_INO, &extendido) == 0 &&
      (extendido.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0)
    return (extendido.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
  struct stat propio;
  struct stat padre;
  return ::stat(Nativo(carpeta).constData(), &propio) == 0 &&
         ::stat(Nativo(carpeta + QStringLiteral("/..")).constData(), &padre) == 0 && propio.st_dev != padre.st_dev;
}

// The target folder itself (past any link to it, so that its files are moved
// within their own disk), and its staging folders' places: beside it, or
// inside it when it is a mount point.
struct Sitio {
  QString destino;
  QString padre;
  QString prefijo;  // of the staging folders beside it
  bool montaje;

  QString Plantilla(bool dentro) const {
    return (dentro ? destino + u'/' + PrefijoDentro : padre + u'/' + prefijo) + QStringLiteral("XXXXXX");
  }
};
Sitio SitioDe(const QString& carpeta) {
  const QString real = QFileInfo(carpeta).canonicalFilePath();
  const QString destino = real.isEmpty() ? QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()) : real;
  const QFileInfo info(destino);
  return {destino, info.absolutePath(), u'.' + info.fileName() + PrefijoDentro, EsPuntoMontaje(destino)};
}

Descriptor AbrirCarpeta(const QString& ruta) {
  return Descriptor(::open(Nativo(ruta).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// The staging folders of a prefix in a folder, links left out.
QStringList Restos(const QString& padre, const QString& prefijo) {
  QStringList restos;
  for (const QString& nombre :
       QDir(padre).entryList({prefijo + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks))
    if (nombre.startsWith(prefijo)) restos.append(nombre);
  return restos;
}

// Puts back every file replaced and removes every file and folder added,
// whether the run got to them or not. A replaced file whose former version is
// no longer aside is already back (an undoing cut short is undone again).
void Deshacer(const Colocacion& colocacion, int preparacion, int destino) {
  for (auto it = colocacion.archivos.crbegin(); it != colocacion.archivos.crend(); ++it) {
    const QByteArray hoja = Hoja(*it);
    const Descriptor padre = AbrirPadre(destino, *it);
    const Descriptor apartado = AbrirPadre(preparacion, Anteriores + *it);
    const bool colocado = !ExisteEn(preparacion, Nuevos + *it);
    if (!padre.Valido()) continue;
    if (ExisteEn(preparacion, Anteriores + *it))
      ::renameat(apartado.get(), hoja.constData(), padre.get(), hoja.constData());
    else if (colocado && !colocacion.reemplazos.contains(*it))
      ::unlinkat(padre.get(), hoja.constData(), 0);
  }
  for (auto it = colocacion.carpetas.crbegin(); it != colocacion.carpetas.crend(); ++it)
    if (const Descriptor padre = AbrirPadre(destino, *it); padre.Valido())
      ::unlinkat(padre.get(), Hoja(*it).constData(), AT_REMOVEDIR);
}

// Whether a folder without a list holds only what this program puts in a
// staging folder, made as it makes one: not a folder of the target's own
// that happens to bear the name.
bool SoloDeLaPreparacion(int preparacion, const struct stat& estado) {
  static const QStringList propias{QStringLiteral("nuevos"), QStringLiteral("anteriores"),
                                   QString::fromLatin1(NombreListaTemporal), QString::fromLatin1(Terminada),
                                   QString::fromLatin1(Deshecha)};
  if ((estado.st_mode & 07777) != 0700) return false;
  const QString ruta = QStringLiteral("/proc/self/fd/") + QString::number(preparacion);
  for (const QString& nombre : QDir(ruta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
    if (!propias.contains(nombre)) return false;
  return true;
}

void Marcar(int preparacion, const char* marca) {
  const Descriptor hecha(::openat(preparacion, marca, O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
}

// Whether the target is final: nothing of it is to be undone any more.
bool Final(int preparacion) {
  return ExisteEn(preparacion, QString::fromLatin1(Terminada)) || ExisteEn(preparacion, QString::fromLatin1(Deshecha));
}

void DeshacerYMarcar(const Colocacion& colocacion, int preparacion, int destino) {
  Deshacer(colocacion, preparacion, destino);
  Marcar(preparacion, Deshecha);
}

// Removes a staging folder whose target is final, in an order a kill may cut
// anywhere and the next run finishes without doubt: what it holds, then its
// list, then its marks (a list without a mark would be undone again), then
// the folder itself.
void Retirar(int lugar, const QByteArray& nombre, int preparacion) {
  int borrados = 0;
  const auto borrado = [&borrados] {
    if (GanchoRetirada()) GanchoRetirada()(++borrados);
  };
  Vaciar(preparacion, {NombreLista, Terminada, Deshecha}, borrado);
  for (const char* ultimo : {NombreLista, Terminada, Deshecha})
    if (::unlinkat(preparacion, ultimo, 0) == 0) borrado();
  ::unlinkat(lugar, nombre.constData(), AT_REMOVEDIR);
}

bool SinEnlacesEn(const Colocacion& colocacion, int preparacion, int destino) {
  for (const QString& carpeta : colocacion.carpetas)
    if (!SinEnlaces(destino, carpeta)) return false;
  for (const QString& archivo : colocacion.archivos)
    if (!SinEnlaces(destino, archivo) || !SinEnlaces(preparacion, Nuevos + archivo) ||
        !SinEnlaces(preparacion, Anteriores + archivo))
      return false;
  return true;
}

// Finishes or rolls back what one run left in its staging folder, and removes
// the folder; false, leaving everything as it is, when the folder or its list
// is not one this program wrote for this target.
bool RecuperarResto(const QString& padre, const QString& nombre, int destino) {
  const Descriptor lugar = AbrirCarpeta(padre);
  const Descriptor preparacion(
      ::openat(lugar.get(), Nativo(nombre).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!preparacion.Valido()) return errno == ENOENT;
  struct stat estado;
  struct stat estadoDestino;
  if (::fstat(preparacion.get(), &estado) != 0 || !Propio(estado) || ::fstat(destino, &estadoDestino) != 0)
    return false;
  Colocacion colocacion;
  switch (LeerLista(preparacion.get(), {estadoDestino.st_dev, estadoDestino.st_ino, nombre}, colocacion)) {
    case EstadoLista::Ausente:  // killed before its list was written, or while it was being removed: nothing to undo
      if (!SoloDeLaPreparacion(preparacion.get(), estado)) return false;
      break;
    case EstadoLista::NoValida:
      return false;
    case EstadoLista::Valida:
      if (!SinEnlacesEn(colocacion, preparacion.get(), destino)) return false;
      if (!Final(preparacion.get())) DeshacerYMarcar(colocacion, preparacion.get(), destino);
      break;
  }
  Retirar(lugar.get(), Nativo(nombre), preparacion.get());
  return true;
}

// The folders of the target the files and folders need that are not there yet,
// each after its parent.
QStringList CarpetasQueFaltan(int destino, const QStringList& archivos, const QStringList& carpetas) {
  QStringList faltan;
  QSet<QString> vistas;
  const auto anadir = [&](const QString& relativa) {
    QString ruta;
    for (const QString& pieza : relativa.split(u'/', Qt::SkipEmptyParts)) {
      ruta += ruta.isEmpty() ? pieza : u'/' + pieza;
      if (vistas.contains(ruta)) continue;
      vistas.insert(ruta);
      if (!ExisteEn(destino, ruta)) faltan.append(ruta);
    }
  };
  for (const QString& relativa : carpetas) anadir(relativa);
  for (const QString& archivo : archivos) anadir(archivo.left(std::max<qsizetype>(archivo.lastIndexOf(u'/'), 0)));
  return faltan;
}

}  // namespace

std::function<void(int)>& GanchoColocacion() {
  static std::function<void(int)> gancho;
  return gancho;
}

std::function<void(int)>& GanchoRetirada() {
  static std::function<void(int)> gancho;
  return gancho;
}

QString AvisoRestosNoValidos(const QString& preparacion) {
  return QStringLiteral("Restos de descompresión no válidos en ") + preparacion;
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

QStringList RecuperarRestos(const QString& carpeta) {
  const Sitio sitio = SitioDe(carpeta);
  const Descriptor destino = AbrirCarpeta(sitio.destino);
  if (!destino.Valido()) return {};
  QStringList noValidos;
  // Both places: the target may have been mounted or unmounted since.
  for (const auto& [padre, prefijo] : {std::pair{sitio.padre, sitio.prefijo}, std::pair{sitio.destino, PrefijoDentro}})
    for (const QString& nombre : Restos(padre, prefijo))
      if (!RecuperarResto(padre, nombre, destino.get())) noValidos.append(padre + u'/' + nombre);
  for (const QString& nombre : Restos(sitio.destino, PrefijoAntiguo)) {
    const QString ruta = sitio.destino + u'/' + nombre;
    struct stat estado;
    if (::lstat(Nativo(ruta).constData(), &estado) == 0 && S_ISDIR(estado.st_mode) && Propio(estado))
      QDir(ruta).removeRecursively();
    else
      noValidos.append(ruta);
  }
  return noValidos;
}

QStringList Recuperar(const QString& carpeta) {
  if (!QFileInfo(carpeta).isDir()) return {};
  const CerrojoCarpeta cerrojo(carpeta);
  return RecuperarRestos(carpeta);
}

Preparacion::Preparacion(const QString& carpeta) {
  const Sitio sitio = SitioDe(carpeta);
  destino_ = AbrirCarpeta(sitio.destino);
  QByteArray plantilla = Nativo(sitio.Plantilla(sitio.montaje));
  struct stat estado;
  bool hecha = destino_.Valido() && ::fstat(destino_.get(), &estado) == 0 && ::mkdtemp(plantilla.data()) != nullptr;
  // A parent folder this user may not write keeps it inside, as a mount point does.
  if (!hecha && destino_.Valido() && !sitio.montaje && (errno == EACCES || errno == EPERM)) {
    plantilla = Nativo(sitio.Plantilla(true));
    hecha = ::mkdtemp(plantilla.data()) != nullptr;
  }
  if (!hecha) {
    error_ = errno;
    terminada_ = true;
    return;
  }
  raiz_ = QFile::decodeName(plantilla);
  identidad_ = {estado.st_dev, estado.st_ino, QFileInfo(raiz_).fileName()};
  preparacion_ = Descriptor(::open(plantilla.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!preparacion_.Valido() || !EscribirLista(preparacion_.get(), identidad_, {}) ||
      ::mkdirat(preparacion_.get(), "nuevos", 0700) != 0) {
    error_ = errno;
    terminada_ = true;
  }
}

Preparacion::~Preparacion() {
  if (raiz_.isEmpty()) return;
  if (!terminada_) Deshacer();
  Retirar(AbrirCarpeta(QFileInfo(raiz_).path()).get(), Nativo(QFileInfo(raiz_).fileName()), preparacion_.get());
}

void Preparacion::Deshacer() { DeshacerYMarcar(colocacion_, preparacion_.get(), destino_.get()); }

QString Preparacion::RutaNueva(const QString& relativo) const { return raiz_ + u'/' + Nuevos + relativo; }

// The old file goes aside as a second name of itself, so the target never
// lacks it; where no second name can be made it is moved.
bool Preparacion::ApartarAnterior(int padreDestino, const QString& relativo) {
  const QByteArray hoja = Hoja(relativo);
  struct stat estado;
  if (::fstatat(padreDestino, hoja.constData(), &estado, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  if (S_ISDIR(estado.st_mode)) {
    errno = EISDIR;
    return false;
  }
  QDir().mkpath(QFileInfo(raiz_ + u'/' + Anteriores + relativo).path());
  const Descriptor apartado = AbrirPadre(preparacion_.get(), Anteriores + relativo);
  return apartado.Valido() && (::linkat(padreDestino, hoja.constData(), apartado.get(), hoja.constData(), 0) == 0 ||
                               ::renameat(padreDestino, hoja.constData(), apartado.get(), hoja.constData()) == 0);
}

std::optional<QString> Preparacion::Colocar(const QStringList& archivos, const QStringList& carpetas) {
  colocacion_ = {archivos, CarpetasQueFaltan(destino_.get(), archivos, carpetas), {}};
  for (const QString& relativo : archivos)
    if (ExisteEn(destino_.get(), relativo)) colocacion_.reemplazos.insert(relativo);
  const auto fallo = [this](const QString& relativo) -> std::optional<QString> {
    const int error = errno;
    Deshacer();
    terminada_ = true;
    errno = error;
    return relativo;
  };
  if (!EscribirLista(preparacion_.get(), identidad_, colocacion_)) return fallo(raiz_ + QStringLiteral("/colocando"));
  for (const QString& relativa : colocacion_.carpetas) {
    const Descriptor padre = AbrirPadre(destino_.get(), relativa);
    if (!padre.Valido() || ::mkdirat(padre.get(), Hoja(relativa).constData(), 0777) != 0) return fallo(relativa);
  }
  int colocados = 0;
  for (const QString& relativo : colocacion_.archivos) {
    const QByteArray hoja = Hoja(relativo);
    const Descriptor padre = AbrirPadre(destino_.get(), relativo);
    const Descriptor nuevo = AbrirPadre(preparacion_.get(), Nuevos + relativo);
    if (!padre.Valido() || !nuevo.Valido() || !ApartarAnterior(padre.get(), relativo) ||
        ::renameat(nuevo.get(), hoja.constData(), padre.get(), hoja.constData()) != 0)
      return fallo(relativo);
    if (GanchoColocacion()) GanchoColocacion()(++colocados);
  }
  Marcar(preparacion_.get(), Terminada);
  terminada_ = true;
  return std::nullopt;
}

}  // namespace ColocacionZip
