#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

// The list a staging folder keeps of what its run is placing, written before
// the first file moves so that a killed run can be undone. Its first line
// marks it as this program's, for this target and this staging folder.
namespace ColocacionZip {

// The list's name in the staging folder, and the name it is written under
// before it takes that one.
inline constexpr char NombreLista[] = "colocando";
inline constexpr char NombreListaTemporal[] = "colocando.tmp";

// Files and the folders made for them, in order, relative to the target, and
// which files replace one the target had.
struct Colocacion {
  QStringList archivos;
  QStringList carpetas;
  QSet<QString> reemplazos;
};

// Whose list it is: the target folder as the disk knows it, and the staging
// folder's own (random) name.
struct Identidad {
  dev_t dispositivo = 0;
  ino_t nodo = 0;
  QString preparacion;
};

// Writes the list into the staging folder whole or not at all, on disk when
// it returns true; a list longer than 64 MiB is not written (EFBIG).
bool EscribirLista(int preparacion, const Identidad& identidad, const Colocacion& colocacion);

enum class EstadoLista { Ausente, NoValida, Valida };

// Reads the list back. Valida only when the running user alone could have
// written it, its mark names this target and staging folder, and every entry
// is a path inside the target written as EscribirLista writes it. A list
// longer than EscribirLista writes is NoValida without being read.
EstadoLista LeerLista(int preparacion, const Identidad& identidad, Colocacion& colocacion);

// Whether the running user owns it and no one else may write to it.
bool Propio(const struct stat& estado);

}  // namespace ColocacionZip
