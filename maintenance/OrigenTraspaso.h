#pragma once

#include <QString>

#include <memory>

class EngineConnection;

inline constexpr auto kOrigenMismaBaseDatos = "La Misma en Origen que en Destino";

// The older installation a transfer reads, by the name its combo gives: an
// engine alias of TYPE STANDARD (a Paradox data folder of this program) or
// INTRBASE (an Interbase or Firebird database, SERVER NAME "path" or
// "host:path"), or a folder typed in. The general tables live in the folder,
// company n in its sub-folder n.
class OrigenTraspaso {
 public:
  explicit OrigenTraspaso(QString nombre);

  bool EsInterbase() const;
  // The data file of a Paradox folder, or of its sub-folder when given.
  QString ArchivoParadox(const QString& subcarpeta = QString()) const;
  // Whether the source is a file the destination's own databases use.
  bool EsDestino() const;
  // Opened for reading only; raises EDatabaseError when it cannot be.
  std::shared_ptr<EngineConnection> Abrir(const QString& subcarpeta = QString()) const;

 private:
  QString nombre_;
};
