#pragma once

#include "platform/Seam.h"
#include "platform/format/DateTime.h"

#include <QString>

// The single checks and writes of the installation diagnosis. Registry
// kinds: "dword", "string" and "binary" (its first byte); targets: a number
// or text, or ">=" and the least number.

// The anomaly of a registry value, empty when it is right.
QString ComprobarValorRegistro(const QString& raiz, const QString& clave, const QString& nombre, const QString& tipo,
                               const QString& objetivo);
// Writes a registry value, creating its key; a key that cannot be created
// is told in a plain message. False when nothing was written.
bool EscribirValorRegistro(const QString& raiz, const QString& clave, const QString& nombre, const QString& valor,
                           const QString& tipo);
// The anomaly of an engine parameter of kind "integer" or "string", empty
// when it is right: a target ">=N" asks for at least N, "<>T" for any text
// but T, any other for exactly it.
QString ComprobarParametroBDE(const QString& direccion, const QString& parametro, const QString& objetivo,
                              const QString& tipo);

// The state of a service of a machine; this system reaches no service
// manager, so it is "No disponible".
QString EstadoServicio(const QString& maquina, const QString& servicio);

// Where the operating system keeps its own files.
class CarpetaSistema {
 public:
  virtual ~CarpetaSistema() = default;
  virtual QString Ruta() = 0;
  static CarpetaSistema& Default();
};
using CarpetaSistemaSeam = Seam<CarpetaSistema>;
QString DirectorioSistema();

// The file's date and time (its name found without regard to case), or -1
// when it is missing or unreadable.
TDateTime FechaArchivo(const QString& archivo);
