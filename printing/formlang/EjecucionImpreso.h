#pragma once

#include "printing/formlang/EntornoImpreso.h"
#include "printing/formlang/GeometriaImpreso.h"
#include "printing/formlang/PrepararPrograma.h"

#include <QStringList>

#include <array>
#include <optional>

// One run of a printed form over its documents: the program prepared for
// each printout a document names, a page for each label slot or page break,
// each document repeated for its copies on paper, the carried totals summed
// line by line. The drawing itself is the environment's commands'.
enum class DestinoSalida { Pantalla, Impresora };

inline constexpr int MaximoPaginas = 10000;
inline constexpr int PaginasAviso = 25;

struct SumaYSigue {
  QStringList nombres;  // slots from 0
  std::array<double, MaximoSumas> valores{};
  // The first slot of the name; -1 when none.
  int Hueco(const QString& nombre) const { return static_cast<int>(nombres.indexOf(nombre)); }
};

class EjecucionImpreso {
 public:
  EjecucionImpreso(FuenteImpreso& fuente, EntornoImpreso& entorno) : fuente_(fuente), entorno_(entorno) {}

  // A job starts at the paper's first row, its lines area not yet set.
  void EmpezarTrabajo();
  // The definition of the code (of `codigoImpresoActual` when the code has
  // none; nothing changes when neither has one): text mode and paper size.
  void EstablecerFormatoPapel(const QString& codigo);
  // Prepares a printout's program: its paper, its sections and [SISTEMA].
  // False after a warning when a line would go beyond the page, or when the
  // first-label question was closed.
  bool Preparar(const QString& codigo);
  // The walk over the documents (from the first); false when it was stopped.
  bool Recorrer();
  // Ends the walk once the command running ends, as a cancel does, with
  // the pages made so far.
  void Detener() { detenido_ = true; }
  // Ends the walk as Detener does, and what the run made is not to be
  // given out: a printer gets nothing of it.
  void Abandonar() { detenido_ = abandonado_ = true; }
  bool Abandonado() const { return abandonado_; }
  // A command line through the settings, then the command table.
  void EjecutarInstruccion(const QString& linea);

  void EjecutarCabecera();
  void EjecutarLineas();
  void EjecutarPieSumaYSigue();
  void EjecutarPie();
  void EjecutarPiePagina();
  void NuevaPagina();

  // The printout code of the current document: its own, or the current one
  // when it names none ("Por Defecto", empty or no such field).
  QString CodigoDocumento() const;
  // The code of the first document, prepared before the printer is chosen.
  QString CodigoDocumentoInicial();
  const std::optional<DefinicionImpreso>& Definicion() const { return definicion_; }
  const FuenteImpreso& Fuente() const { return fuente_; }

  // Set by the caller.
  QString codigoImpresoActual;
  DestinoSalida destino = DestinoSalida::Pantalla;
  QString soloClave;  // when not empty, only the documents of this key
  bool avisoPaginasDado = false;
  qint64 primeraEtiqueta = 1;

  // The state the commands read.
  GeometriaImpreso geometria;
  ProgramaImpreso programa;
  SumaYSigue sumas;
  qint64 lineasPorPagina = 0;
  int numeroPaginas = 0;
  int paginaDocumento = 0;
  int numeroCopia = 1;
  int copiasPendientes = 0;
  double cambioDocumento = 1;
  int codigoMonedaDocumento = 1;
  QString comandoActual;

 private:
  void EjecutarSeccion(Seccion seccion);
  void AplicarCambioDocumento();
  void TomarCopias();
  bool PreguntarPrimeraEtiqueta();
  void PasarEtiquetaImpresora(qint64 primeraDeHoja);

  FuenteImpreso& fuente_;
  EntornoImpreso& entorno_;
  bool detenido_ = false;
  bool abandonado_ = false;
  QString codigoPreparado_;
  std::optional<DefinicionImpreso> definicion_;
};
