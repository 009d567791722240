#include "platform/word/PlantillaWord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <zip.h>

#include <cstdio>
#include <list>
#include <memory>

namespace {

struct CerrarZip {
  void operator()(zip_t* zip) const { zip_discard(zip); }
};
using Zip = std::unique_ptr<zip_t, CerrarZip>;

const QString NoEsWord = u"El archivo no es un documento de Word"_qs;

// The body, the headers and the footers hold the placeholders.
bool ParteConCampos(const QString& nombre) {
  static const QRegularExpression partes(u"^word/(document|header[0-9]*|footer[0-9]*)\\.xml$"_qs);
  return partes.match(nombre).hasMatch();
}

QString ErrorZip(zip_t* zip) { return QString::fromLocal8Bit(zip_strerror(zip)); }

// The entry's bytes, never more than it says it holds.
std::optional<QByteArray> LeerEntrada(zip_t* zip, zip_uint64_t indice, zip_uint64_t tamano) {
  zip_file_t* archivo = zip_fopen_index(zip, indice, 0);
  if (!archivo) return std::nullopt;
  QByteArray bytes(qsizetype(tamano), Qt::Uninitialized);
  const zip_int64_t leidos = zip_fread(archivo, bytes.data(), tamano);
  char sobra = 0;
  const bool completo = leidos == zip_int64_t(tamano) && zip_fread(archivo, &sobra, 1) == 0;
  zip_fclose(archivo);
  if (!completo) return std::nullopt;
  return bytes;
}

}  // namespace

QString PlantillaWord::Rellenar(const QString& plantilla, const QString& destino, const ValorCampo& valor) {
  int error = 0;
  Zip origen(zip_open(QFile::encodeName(plantilla).constData(), ZIP_RDONLY, &error));
  if (!origen) return NoEsWord;
  const zip_int64_t entradas = zip_get_num_entries(origen.get(), 0);
  if (zip_name_locate(origen.get(), "word/document.xml", 0) < 0) return NoEsWord;
  zip_uint64_t total = 0;
  for (zip_int64_t n = 0; n < entradas; ++n) {
    zip_stat_t datos;
    if (zip_stat_index(origen.get(), zip_uint64_t(n), 0, &datos) != 0 || !(datos.valid & ZIP_STAT_SIZE))
      return ErrorZip(origen.get());
    total += datos.size;
    if (total > zip_uint64_t(kMayorTamano)) return u"El documento ocupa más de 64 MB"_qs;
  }

  QTemporaryFile parcial(QFileInfo(destino).absoluteDir().filePath(u".docxXXXXXX"_qs));
  if (!parcial.open()) return parcial.errorString();
  const QByteArray nombreParcial = QFile::encodeName(parcial.fileName());
  Zip copia(zip_open(nombreParcial.constData(), ZIP_TRUNCATE, &error));
  if (!copia) return u"No se puede escribir "_qs + destino;
  // libzip reads the buffers when the archive is closed.
  std::list<QByteArray> contenidos;
  for (zip_int64_t n = 0; n < entradas; ++n) {
    zip_stat_t datos;
    zip_stat_index(origen.get(), zip_uint64_t(n), 0, &datos);
    const QString nombre = QString::fromUtf8(datos.name);
    std::optional<QByteArray> bytes = LeerEntrada(origen.get(), zip_uint64_t(n), datos.size);
    if (!bytes) return ErrorZip(origen.get());
    if (ParteConCampos(nombre)) {
      QByteArray relleno;
      const QString motivo = RellenarXml(*bytes, relleno, valor);
      if (!motivo.isEmpty()) return motivo;
      bytes = std::move(relleno);
    }
    const QByteArray& guardado = contenidos.emplace_back(std::move(*bytes));
    zip_source_t* fuente = zip_source_buffer(copia.get(), guardado.constData(), zip_uint64_t(guardado.size()), 0);
    if (!fuente || zip_file_add(copia.get(), datos.name, fuente, ZIP_FL_ENC_UTF_8) < 0) {
      if (fuente) zip_source_free(fuente);
      return ErrorZip(copia.get());
    }
  }
  if (zip_close(copia.get()) != 0) return ErrorZip(copia.get());
  copia.release();
  if (std::rename(nombreParcial.constData(), QFile::encodeName(destino).constData()) != 0)
    return u"No se puede escribir "_qs + destino;
  parcial.setAutoRemove(false);
  return {};
}
