#include "platform/zip/ListaColocacion.h"

#include "platform/zip/Descriptor.h"
#include "platform/zip/RutaSinEnlaces.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace ColocacionZip {

namespace {

constexpr char MarcaArchivo = 'A';    // a file the target did not have
constexpr char MarcaReemplazo = 'R';  // a file replacing one the target had
constexpr char MarcaCarpeta = 'D';
// The longest list this program writes: a longer one is no list of its own,
// and is refused without being read.
constexpr qint64 LongitudMaxima = qint64{64} << 20;

QByteArray Cabecera(const QByteArray& proceso, const Identidad& identidad) {
  return "colocacion " + proceso + ' ' + identidad.preparacion.toUtf8().toPercentEncoding() + ' ' +
         QByteArray::number(quint64(identidad.dispositivo)) + ' ' + QByteArray::number(quint64(identidad.nodo));
}

QByteArray Linea(char marca, const QString& ruta) { return marca + ruta.toUtf8().toPercentEncoding() + '\n'; }

bool EscribirTodo(int fd, const QByteArray& texto) {
  for (qsizetype hecho = 0; hecho < texto.size();) {
    const ssize_t escritos = ::write(fd, texto.constData() + hecho, std::size_t(texto.size() - hecho));
    if (escritos < 0 && errno == EINTR) continue;
    if (escritos <= 0) return false;
    hecho += escritos;
  }
  return true;
}

// One entry as EscribirLista writes it: its mark and its path, canonically
// encoded and inside the target; an empty path when it is not.
QString RutaDe(const QByteArray& linea) {
  const QByteArray codificada = linea.mid(1);
  const QString ruta = QString::fromUtf8(QByteArray::fromPercentEncoding(codificada));
  return ruta.toUtf8().toPercentEncoding() == codificada && RutaInterior(ruta) ? ruta : QString();
}

}  // namespace

bool Propio(const struct stat& estado) {
  return estado.st_uid == ::geteuid() && (estado.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool EscribirLista(int preparacion, const Identidad& identidad, const Colocacion& colocacion) {
  QByteArray texto = Cabecera(QByteArray::number(::getpid()), identidad) + '\n';
  for (const QString& carpeta : colocacion.carpetas) texto += Linea(MarcaCarpeta, carpeta);
  for (const QString& archivo : colocacion.archivos)
    texto += Linea(colocacion.reemplazos.contains(archivo) ? MarcaReemplazo : MarcaArchivo, archivo);
  if (texto.size() > LongitudMaxima) {
    errno = EFBIG;
    return false;
  }
  Descriptor lista(::openat(preparacion, NombreListaTemporal, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
  return lista.Valido() && EscribirTodo(lista.get(), texto) && ::fsync(lista.get()) == 0 && lista.Cerrar() &&
         ::renameat(preparacion, NombreListaTemporal, preparacion, NombreLista) == 0;
}

EstadoLista LeerLista(int preparacion, const Identidad& identidad, Colocacion& colocacion) {
  // Not held up by a pipe planted in its place.
  const int fd = ::openat(preparacion, NombreLista, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? EstadoLista::Ausente : EstadoLista::NoValida;
  QFile lista;
  struct stat estado;
  if (!lista.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) || ::fstat(fd, &estado) != 0 ||
      !S_ISREG(estado.st_mode) || !Propio(estado) || estado.st_size > LongitudMaxima)
    return EstadoLista::NoValida;
  const QByteArray texto = lista.read(LongitudMaxima + 1);
  if (texto.size() > LongitudMaxima) return EstadoLista::NoValida;
  const QList<QByteArray> lineas = texto.split('\n');
  const QByteArray cabecera = lineas.front();
  const QByteArray proceso = cabecera.split(' ').value(1);
  bool numero = false;
  proceso.toUInt(&numero);
  if (!numero || cabecera != Cabecera(proceso, identidad) || !lineas.back().isEmpty()) return EstadoLista::NoValida;
  Colocacion leida;
  for (qsizetype i = 1; i + 1 < lineas.size(); ++i) {
    const QByteArray& linea = lineas[i];
    const QString ruta = RutaDe(linea);
    if (ruta.isEmpty()) return EstadoLista::NoValida;
    switch (linea[0]) {
      case MarcaCarpeta:
        leida.carpetas.append(ruta);
        break;
      case MarcaReemplazo:
        leida.reemplazos.insert(ruta);
        [[fallthrough]];
      case MarcaArchivo:
        leida.archivos.append(ruta);
        break;
      default:
        return EstadoLista::NoValida;
    }
  }
  colocacion = std::move(leida);
  return EstadoLista::Valida;
}

}  // namespace ColocacionZip
