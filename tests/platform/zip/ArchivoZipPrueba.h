#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <zip.h>

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <vector>

// Zip archives written with libzip for the tests, hostile ones included.
struct EntradaPrueba {
  QByteArray nombre;  // as stored (raw bytes)
  QByteArray contenido;
  std::uint32_t modo = 0100644;  // Unix mode kept in the external attributes
  std::time_t fecha = 1700000000;
};

inline void EscribirZip(const QString& ruta, const std::vector<EntradaPrueba>& entradas) {
  int error = 0;
  zip_t* zip = zip_open(QFile::encodeName(ruta).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!zip) throw std::runtime_error("zip_open");
  for (const EntradaPrueba& entrada : entradas) {
    zip_source_t* fuente = zip_source_buffer(zip, entrada.contenido.constData(), zip_uint64_t(entrada.contenido.size()), 0);
    const bool carpeta = entrada.nombre.endsWith('/');
    const zip_int64_t indice =
        carpeta ? zip_dir_add(zip, entrada.nombre.constData(), ZIP_FL_ENC_RAW)
                : zip_file_add(zip, entrada.nombre.constData(), fuente, ZIP_FL_ENC_RAW | ZIP_FL_OVERWRITE);
    if (carpeta) zip_source_free(fuente);
    if (indice < 0) throw std::runtime_error(zip_strerror(zip));
    zip_file_set_external_attributes(zip, zip_uint64_t(indice), 0, ZIP_OPSYS_UNIX, entrada.modo << 16);
    zip_file_set_mtime(zip, zip_uint64_t(indice), entrada.fecha, 0);
  }
  if (zip_close(zip) != 0) throw std::runtime_error("zip_close");
}

inline EntradaPrueba Archivo(const char* nombre, const QByteArray& contenido) { return {nombre, contenido}; }
