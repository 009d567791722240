#pragma once

#include <QString>

#include <memory>

class Dataset;
class QObject;
class Table;

// The definition of the sorted copy of a listing's dataset: the fields that
// sort first (the first ten keyed), then ContadorAutoLP so that equal keys
// keep the source's order, then memo, graphic and blob fields; the primary
// index over the keyed fields and the counter.
QString DefinicionClasificacion(const Dataset& origen);

// The sorted temporary copy of one run of the listing. The table is deleted
// with this object, so a failure or a cancel leaves nothing behind.
class CopiaClasificada {
 public:
  explicit CopiaClasificada(QObject* propietario);
  ~CopiaClasificada();
  CopiaClasificada(const CopiaClasificada&) = delete;
  CopiaClasificada& operator=(const CopiaClasificada&) = delete;

  // Copies every record the source shows, under the progress window; false,
  // with nothing kept, when the user cancels (Esc) or the table cannot be
  // made. The source comes back to its record.
  bool ClasificarEnTablaTemporal(Dataset& origen);
  Table& Temporal() { return *temporal_; }

 private:
  void borrar();

  std::unique_ptr<Table> temporal_;
  bool creada_ = false;
};
