#pragma once

#include "platform/zip/Descriptor.h"
#include "platform/zip/ListaColocacion.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// How extracted files reach their target folder all at once or not at all.
// They are written into a staging folder made beside the target
// (".<target>.descomprimiendo-XXXXXX"), or inside it (".descomprimiendo-XXXXXX")
// when the target is a file system of its own, which nothing can be renamed
// into from outside, or its parent folder is not this user's to write: "nuevos" holds the files to place, "anteriores" the
// files they replace, and a list of what is being placed is on disk before
// the first file moves. A failure puts every replaced file back; a run killed
// while placing leaves its staging folder, which the next run into the same
// target (or Recuperar) finishes or rolls back and removes before anything
// else is done there. The staging folder is removed in an order that a kill
// may cut anywhere: what is left is removed by the next run, unreported. Runs into one target take turns. Nothing is done
// through a link below the target or the staging folder, and a staging folder
// this program did not make for this target is left as it is.
namespace ColocacionZip {

// Held for the whole of a run into a folder: no other run, of this program or
// another, works there meanwhile. It ends with its holder, killed or not.
class CerrojoCarpeta {
 public:
  explicit CerrojoCarpeta(const QString& carpeta);
  ~CerrojoCarpeta();
  CerrojoCarpeta(const CerrojoCarpeta&) = delete;
  CerrojoCarpeta& operator=(const CerrojoCarpeta&) = delete;

 private:
  int fd_;
};

// Finishes or rolls back, and removes, what a killed run left beside or
// inside the folder. The caller holds the folder's lock. Returns the staging
// folders left untouched because this program did not write them for this
// folder (or their lists name anything outside it, or a link), for the
// caller to report with AvisoRestosNoValidos.
[[nodiscard]] QStringList RecuperarRestos(const QString& carpeta);

// Takes the folder's lock and recovers what a killed run left beside it.
[[nodiscard]] QStringList Recuperar(const QString& carpeta);

// The report of a staging folder left untouched.
QString AvisoRestosNoValidos(const QString& preparacion);

class Preparacion {
 public:
  // Makes the staging folder; Error() is 0 when it could be made.
  explicit Preparacion(const QString& carpeta);
  ~Preparacion();  // puts back what was placed unless Colocar completed
  Preparacion(const Preparacion&) = delete;
  Preparacion& operator=(const Preparacion&) = delete;

  // The errno of what kept the staging folder from being made.
  int Error() const { return error_; }
  // Where the new file of a path relative to the target is written.
  QString RutaNueva(const QString& relativo) const;
  // Places the new files and makes the folders (both relative to the target);
  // on failure puts the target back as it was and returns what failed (a
  // relative path, or the list of the staging folder), with errno set.
  [[nodiscard]] std::optional<QString> Colocar(const QStringList& archivos, const QStringList& carpetas);

 private:
  bool ApartarAnterior(int padreDestino, const QString& relativo);
  void Deshacer();

  Descriptor destino_;
  Descriptor preparacion_;
  QString raiz_;
  Identidad identidad_;
  Colocacion colocacion_;
  int error_ = 0;
  bool terminada_ = false;
};

// Run after each file placed, with how many are in place: tests stop there.
std::function<void(int colocados)>& GanchoColocacion();
// Run after each name removed from a staging folder whose target is final,
// with how many are gone: tests stop there.
std::function<void(int borrados)>& GanchoRetirada();

}  // namespace ColocacionZip
