#pragma once

#include <QFile>
#include <QString>

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <string>

// A file system mounted on a folder for one test: a tmpfs, or the folder
// itself bound read-only. It is unmounted however the test ends; where this
// process may not mount, Error() says why and the test skips.
class MontajePrueba {
 public:
  static MontajePrueba Tmpfs(const QString& carpeta) {
    MontajePrueba montaje(carpeta);
    montaje.Montar("zem-prueba", "tmpfs", 0, "size=64m");
    return montaje;
  }
  static MontajePrueba SoloLectura(const QString& carpeta) {
    MontajePrueba montaje(carpeta);
    if (montaje.Montar(montaje.ruta_.c_str(), nullptr, MS_BIND, nullptr))
      montaje.Montar(nullptr, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
    return montaje;
  }
  MontajePrueba(MontajePrueba&& otro) noexcept : ruta_(otro.ruta_), montado_(otro.montado_), error_(otro.error_) {
    otro.montado_ = false;
  }
  ~MontajePrueba() {
    if (montado_) ::umount2(ruta_.c_str(), MNT_DETACH);
  }
  MontajePrueba(const MontajePrueba&) = delete;
  MontajePrueba& operator=(const MontajePrueba&) = delete;
  MontajePrueba& operator=(MontajePrueba&&) = delete;

  std::string Error() const { return error_; }

 private:
  explicit MontajePrueba(const QString& carpeta) : ruta_(QFile::encodeName(carpeta).toStdString()) {}

  bool Montar(const char* origen, const char* tipo, unsigned long opciones, const char* datos) {
    if (::mount(origen, ruta_.c_str(), tipo, opciones, datos) == 0) {
      montado_ = true;
      return true;
    }
    error_ = std::string("mount: ") + std::strerror(errno);
    return false;
  }

  std::string ruta_;
  bool montado_ = false;
  std::string error_;
};
