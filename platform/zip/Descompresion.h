#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

// The built-in unzip library: extracts the entries of one zip archive into a
// folder, as the suite's unzip library does with its parameter record, over
// libzip. An archive holding an entry that could land outside the folder (an
// absolute name, "..", with "\" as a separator too), a link or a device, too
// many entries or too many inflated bytes is refused as a whole. Every entry
// is first written into a staging folder beside the target folder (inside it
// when it is a mount point or its parent cannot be written) and placed only when the whole archive passed, all files or none (ColocacionZip.h): a
// refused, failed, cancelled or killed extraction leaves the target as it was.
namespace Descompresion {

// What the library tells its caller while it runs.
struct Aviso {
  enum Accion { NuevoArchivo = 1, Progreso = 2, FinLote = 3, Mensaje = 4 };
  Accion accion = Progreso;
  int codigoError = 0;
  std::int64_t tamano = 0;
  QString texto;  // the entry's name, or the message
};

// The caller's answer: false stops the extraction.
using Llamada = std::function<bool(const Aviso&)>;

struct Parametros {
  QString archivo;
  QString carpeta;                // the folder to extract into; it must exist
  QStringList patronesArchivo;   // file-name patterns; none means every entry
  QString clave;
  bool nombresCarpetas = false;   // keep the entries' folders
  bool sobrescribir = false;      // replace existing files
  bool refrescar = false;         // only replace existing files older than the entry
  bool actualizar = false;        // as refrescar, and add the missing files
  bool soloPrueba = false;        // read and check every entry, write nothing
  Llamada llamada;
};

// The number of files extracted (or tested); 0 when the archive was refused,
// failed or was cancelled, which a Mensaje notice explains first.
int Extraer(const Parametros& parametros);

// The bounds of one archive; tests lower them.
struct Limites {
  std::int64_t bytes = std::int64_t{4} << 30;
  std::int64_t entradas = 100000;
};
Limites& LimitesArchivo();

// Codes of the Mensaje notices.
// RestosNoValidos tells of a staging folder beside or inside the target that
// this program did not leave there, left as it is; the extraction goes on.
enum CodigoError {
  ErrorArchivo = 1,
  ErrorEntrada = 2,
  ErrorLimite = 3,
  ErrorEscritura = 4,
  Cancelada = 5,
  RestosNoValidos = 6
};

}  // namespace Descompresion
