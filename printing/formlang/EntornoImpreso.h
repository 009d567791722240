#pragma once

#include "printing/formlang/LineaInstruccion.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>
#include <utility>

// A row of IMPRESO as the engine reads it.
struct DefinicionImpreso {
  QString codigo;
  QString descripcion;
  QString modo;  // "Grafico", "Texto", "ASCII", "MSWord"
  QString instrucciones;
  QString formato;
  QString impresoraPorDefecto;
};

// The data of a printed-form run: the documents and their lines (the
// caller's temporary tables) and the definitions. The engine gives it over
// its tables; tests give it from memory.
class FuenteImpreso {
 public:
  virtual ~FuenteImpreso() = default;

  // The documents, one row each.
  virtual void PrimerDocumento() = 0;
  virtual void SiguienteDocumento() = 0;
  virtual bool FinDocumentos() const = 0;
  virtual std::optional<QVariant> CampoDocumento(const QString& campo) const = 0;  // none: no such field
  virtual QString ClaveDocumento() const = 0;

  // The lines of the current document; rows appended during the walk are walked too.
  virtual bool LineasAbiertas() const = 0;
  virtual void BorrarContinuaciones() = 0;  // rows of memo text an earlier run appended
  virtual void PrimeraLinea() = 0;
  virtual void SiguienteLinea() = 0;
  virtual bool FinLineas() const = 0;
  virtual QList<std::pair<QString, QVariant>> ValoresLinea() const = 0;
  virtual std::optional<QString> InstruccionesLinea() const = 0;  // none: no such field

  virtual std::optional<DefinicionImpreso> Impreso(const QString& codigo) const = 0;
};

// What else a run needs from around it: the user, files, the pages and the
// commands that draw.
class EntornoImpreso {
 public:
  virtual ~EntornoImpreso() = default;

  // Pending window messages are handled here; true when the user cancelled.
  virtual bool Cancelado() = 0;
  virtual void Informacion(const QString& texto) = 0;
  virtual void Aviso(const QString& texto) = 0;
  virtual bool Confirmar(const QString& texto) = 0;
  // The first label slot of a sheet; none when the question was closed.
  virtual std::optional<QString> PreguntarPrimeraEtiqueta(const QString& texto, const QString& inicial) = 0;
  virtual bool CopiarArchivo(const QString& origen, const QString& destino) = 0;

  // Pages: a new page (bitmap of a preview or PDF) of the document's key, or
  // a page break of the printer job.
  virtual void PaginaNueva(const QString& clave) = 0;
  virtual void SaltoPaginaImpresora() = 0;

  // Drawing and field commands, run with the engine's state as it stands.
  virtual void EjecutarComando(const LineaInstruccion& linea) = 0;
};
