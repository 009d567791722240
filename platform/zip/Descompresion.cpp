#include "platform/zip/Descompresion.h"

#include "platform/zip/ColocacionZip.h"
#include "platform/zip/Descriptor.h"
#include "platform/zip/EntradaZip.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <zip.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace Descompresion {

Limites& LimitesArchivo() {
  static Limites limites;
  return limites;
}

namespace {

constexpr mode_t PermisosPorDefecto = 0644;

struct CerrarZip {
  void operator()(zip_t* archivo) const { zip_discard(archivo); }
};
struct CerrarEntrada {
  void operator()(zip_file_t* entrada) const { zip_fclose(entrada); }
};

// A refusal or failure of the whole archive, with the library's text.
struct Fallo {
  CodigoError codigo;
  QString texto;
};

struct Entrada {
  zip_uint64_t indice;
  QString ruta;  // safe, with "/" separators
  bool carpeta;
  std::uint32_t modo;  // 0 when the archive keeps no Unix mode
  time_t fecha;
  std::int64_t tamano;
};

class Extraccion {
 public:
  explicit Extraccion(const Parametros& parametros) : p_(parametros) {}

  int Ejecutar() {
    // What a killed run left beside or inside the target is dealt with before anything else.
    const ColocacionZip::CerrojoCarpeta cerrojo(p_.carpeta);
    const QStringList noValidos = ColocacionZip::RecuperarRestos(p_.carpeta);
    try {
      for (const QString& resto : noValidos)
        avisar({Aviso::Mensaje, RestosNoValidos, 0, ColocacionZip::AvisoRestosNoValidos(resto)});
      abrir();
      const std::vector<Entrada> entradas = revisar();
      int cuenta = 0;
      if (p_.soloPrueba) {
        for (const Entrada& entrada : entradas) cuenta += probar(entrada);
      } else {
        cuenta = extraer(entradas);
      }
      // The files are in place by now: the end of the batch cannot cancel them.
      if (p_.llamada) p_.llamada({Aviso::FinLote, 0, 0, {}});
      return cuenta;
    } catch (const Fallo& fallo) {
      if (fallo.codigo != Cancelada) avisar({Aviso::Mensaje, fallo.codigo, 0, fallo.texto});
      return 0;
    }
  }

 private:
  void abrir() {
    int error = 0;
    archivo_.reset(zip_open(QFile::encodeName(p_.archivo).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archivo_) {
      zip_error_t detalle;
      zip_error_init_with_code(&detalle, error);
      const QString texto = QString::fromUtf8(zip_error_strerror(&detalle));
      zip_error_fini(&detalle);
      throw Fallo{ErrorArchivo, QStringLiteral("Cannot open zip file %1: %2").arg(p_.archivo, texto)};
    }
    if (!p_.clave.isEmpty()) zip_set_default_password(archivo_.get(), p_.clave.toLocal8Bit().constData());
  }

  // Every entry is judged before anything is written.
  std::vector<Entrada> revisar() {
    const zip_int64_t total = zip_get_num_entries(archivo_.get(), 0);
    if (total > LimitesArchivo().entradas)
      throw Fallo{ErrorLimite, QStringLiteral("Too many entries in zip file %1").arg(p_.archivo)};
    std::vector<Entrada> entradas;
    for (zip_int64_t i = 0; i < total; ++i) {
      zip_stat_t estado;
      if (zip_stat_index(archivo_.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS, &estado) != 0) throw errorZip();
      const QString nombre = QString::fromUtf8(estado.name);
      const std::optional<QString> segura = EntradaZip::NombreSeguro(nombre);
      if (!segura) throw Fallo{ErrorEntrada, QStringLiteral("Unsafe entry name: %1").arg(nombre)};
      if (segura->isEmpty()) continue;  // the target folder itself
      const QString& ruta = *segura;
      zip_uint8_t sistema = 0;
      zip_uint32_t atributos = 0;
      zip_file_get_external_attributes(archivo_.get(), zip_uint64_t(i), 0, &sistema, &atributos);
      const std::uint32_t modo = sistema == ZIP_OPSYS_UNIX ? atributos >> 16 : 0;
      if (EntradaZip::EsEspecial(modo))
        throw Fallo{ErrorEntrada, QStringLiteral("Link or device entry: %1").arg(nombre)};
      const bool carpeta = ruta.endsWith(u'/') || S_ISDIR(modo);
      if (!carpeta && !EntradaZip::Elegida(ruta, p_.patronesArchivo)) continue;
      entradas.push_back({zip_uint64_t(i), ruta, carpeta, modo, estado.mtime, std::int64_t(estado.size)});
    }
    return entradas;
  }

  Fallo errorZip() const {
    return {ErrorArchivo, QStringLiteral("Error reading zip file %1: %2")
                              .arg(p_.archivo, QString::fromUtf8(zip_strerror(archivo_.get())))};
  }

  void avisar(const Aviso& aviso) {
    if (p_.llamada && !p_.llamada(aviso)) throw Fallo{Cancelada, {}};
  }

  // Inflates the entry into the descriptor (none: only read and checked).
  void inflar(const Entrada& entrada, int destino) {
    avisar({Aviso::NuevoArchivo, 0, entrada.tamano, entrada.ruta});
    std::unique_ptr<zip_file_t, CerrarEntrada> origen(zip_fopen_index(archivo_.get(), entrada.indice, 0));
    if (!origen) throw errorZip();
    std::array<char, 65536> bloque;
    for (;;) {
      const zip_int64_t leidos = zip_fread(origen.get(), bloque.data(), bloque.size());
      if (leidos < 0)
        throw Fallo{ErrorArchivo, QStringLiteral("Error reading %1: %2")
                                      .arg(entrada.ruta, QString::fromUtf8(zip_file_strerror(origen.get())))};
      if (leidos == 0) break;
      inflados_ += leidos;
      if (inflados_ > LimitesArchivo().bytes)
        throw Fallo{ErrorLimite, QStringLiteral("Zip file %1 inflates to more than %2 bytes")
                                     .arg(p_.archivo).arg(LimitesArchivo().bytes)};
      if (destino >= 0) escribir(destino, bloque.data(), std::size_t(leidos), entrada.ruta);
      avisar({Aviso::Progreso, 0, leidos, {}});
    }
  }

  void escribir(int destino, const char* datos, std::size_t tamano, const QString& ruta) const {
    while (tamano > 0) {
      const ssize_t escritos = ::write(destino, datos, tamano);
      if (escritos < 0 && errno == EINTR) continue;
      if (escritos <= 0) throw errorEscritura(ruta);
      datos += escritos;
      tamano -= std::size_t(escritos);
    }
  }

  Fallo errorEscritura(const QString& ruta) const {
    if (errno == EROFS) return soloLectura();
    return {ErrorEscritura, QStringLiteral("Error writing %1: %2").arg(ruta, QString::fromLocal8Bit(std::strerror(errno)))};
  }

  Fallo soloLectura() const {
    return {ErrorEscritura, QStringLiteral("La carpeta %1 es de solo lectura").arg(p_.carpeta)};
  }

  int probar(const Entrada& entrada) {
    if (entrada.carpeta) return 0;
    inflar(entrada, -1);
    return 1;
  }

  // Where the entry goes, relative to the target folder.
  QString destinoRelativo(const Entrada& entrada) const {
    return p_.nombresCarpetas ? entrada.ruta : entrada.ruta.mid(entrada.ruta.lastIndexOf(u'/') + 1);
  }

  // Whether the options let the entry replace (or add) the file of the target.
  bool seEscribe(const Entrada& entrada, const QString& relativo) const {
    struct stat actual;
    const QByteArray destino = QFile::encodeName(QDir(p_.carpeta).filePath(relativo));
    if (::lstat(destino.constData(), &actual) != 0) return !p_.refrescar || p_.actualizar;
    if (p_.actualizar || p_.refrescar) return actual.st_mtime < entrada.fecha;
    return p_.sobrescribir;
  }

  int extraer(const std::vector<Entrada>& entradas) {
    ColocacionZip::Preparacion preparacion(p_.carpeta);
    if (const int error = preparacion.Error(); error == EROFS) {
      throw soloLectura();
    } else if (error != 0) {
      throw Fallo{ErrorEscritura, QStringLiteral("Cannot create the staging folder for %1: %2")
                                      .arg(p_.carpeta, QString::fromLocal8Bit(std::strerror(error)))};
    }
    QStringList preparados;
    QSet<QString> yaPreparados;
    QStringList carpetas;
    for (const Entrada& entrada : entradas) {
      const QString relativo = destinoRelativo(entrada);
      if (entrada.carpeta) {
        if (p_.nombresCarpetas) carpetas.append(relativo);
        continue;
      }
      if (relativo.isEmpty() || !seEscribe(entrada, relativo)) continue;
      preparar(entrada, preparacion.RutaNueva(relativo));
      // A later entry of the same name replaces the earlier one.
      if (!yaPreparados.contains(relativo)) {
        yaPreparados.insert(relativo);
        preparados.append(relativo);
      }
    }
    if (const std::optional<QString> fallido = preparacion.Colocar(preparados, carpetas)) throw errorEscritura(*fallido);
    return int(preparados.size());
  }

  void preparar(const Entrada& entrada, const QString& ruta) {
    QDir().mkpath(QFileInfo(ruta).path());
    const QByteArray nombre = QFile::encodeName(ruta);
    // A later entry of the same name replaces the earlier one.
    ::unlink(nombre.constData());
    Descriptor destino(::open(nombre.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (destino.get() < 0) throw errorEscritura(entrada.ruta);
    inflar(entrada, destino.get());
    const mode_t permisos = entrada.modo != 0 ? mode_t(EntradaZip::PermisosConservados(entrada.modo)) : PermisosPorDefecto;
    const std::array<timespec, 2> fechas{timespec{entrada.fecha, 0}, timespec{entrada.fecha, 0}};
    if (::fchmod(destino.get(), permisos) != 0 || ::futimens(destino.get(), fechas.data()) != 0 || !destino.Cerrar())
      throw errorEscritura(entrada.ruta);
  }

  const Parametros& p_;
  std::unique_ptr<zip_t, CerrarZip> archivo_;
  std::int64_t inflados_ = 0;
};

}  // namespace

int Extraer(const Parametros& parametros) { return Extraccion(parametros).Ejecutar(); }

}  // namespace Descompresion
