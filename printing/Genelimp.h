#pragma once

#include "platform/Form.h"
#include "platform/report/PageRecord.h"
#include "platform/report/RecordedPages.h"
#include "printing/TablasImpreso.h"
#include "printing/comandos/LienzoImpreso.h"
#include "printing/formlang/EjecucionImpreso.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <functional>
#include <memory>

class DataSource;
class QPdfWriter;
class QPrinter;
class QTemporaryDir;
class Table;
class TfGENELIMP;
class TPrintBarcode;

namespace Ui {
class TfGENELIMP;
}

// Set by the caller before it creates the engine form; they outlive it.
extern QString CodigoImpresoActual;
extern bool VisualizarEnPantalla;
extern QString FormularioLlamador;  // "fGENEIMPR": a design test
extern bool NoSolicitarDialogoImpresora;

// The outputs and commands built beside the engine, reached through these
// slots so that the engine stands without them: the drawing and field
// commands, raw text and Word (modes "ASCII" and "MSWord", the Word
// documents attached to each document), PDF and the automatic attachments.
// The part of printing/ that builds one assigns its slot.
struct SalidasImpreso {
  std::function<void(TfGENELIMP&, const LineaInstruccion&)> EjecutarComando;
  std::function<void(TfGENELIMP&)> SalidaASCII;
  std::function<void(TfGENELIMP&)> SalidaWord;
  std::function<void(TfGENELIMP&)> ImprimirDocumentosAdjuntos;
  std::function<void(TfGENELIMP&)> GenerarPDF;
  std::function<void(TfGENELIMP&)> AdjuntosAutomaticos;
};
SalidasImpreso& Salidas();

// The printed-form engine: the caller creates it, fills `Temporal` and
// `LTemporal`, calls ImprimirImpreso and frees it. Pages go to recorded
// pages (the preview, PDF) or into a job on a printer.
class TfGENELIMP : public Form, private EntornoImpreso {
  Q_OBJECT

 public:
  explicit TfGENELIMP(QWidget* owner = nullptr);
  ~TfGENELIMP() override;

  Table* const Temporal;
  Table* const LTemporal;
  DataSource* const DataSource1;
  Table* const Impreso;

  void ImprimirImpreso();
  void EjecutarImpreso();

  // The preview window's commands.
  void FormShow();
  void SpinEditPaginaChange();
  void pbPrimeraPaginaClick();
  void pbUltimaPaginaClick();
  void SpinEditZoomChange();
  void pbZoomTo100Click();
  void pbZoomToWidthClick();
  void pbZoomToFitClick();
  void pbImprimirClick();
  void pbImprimirPaginaClick();
  void pbExportarAExcelClick();
  void pbExportarAPDFClick();
  void pbAyudaClick();
  // Page n of the preview, zoomed, the ruler ANDed over it.
  void MostrarPagina(int n);
  int PaginaMostrada() const;
  int Zoom() const;
  void SetZoom(int zoom);
  QImage ImagenMostrada() const;
  // The ruler sheet of a preview run; null without a ruler.
  const QImage& PaginaTrabajo() const { return paginaTrabajo_; }
  TPrintBarcode* PrintBarcode1() const;

  EjecucionImpreso& Ejecucion() { return ejecucion_; }
  QString SalidaImpreso;  // empty or a printer name; "PDF:" and a file name
  DestinoSalida Destino() const { return ejecucion_.destino; }
  bool SoloDocumentoPagina = false;  // with Ejecucion().soloClave: the key of the page's document
  QString ImpresoraActual;
  QStringList ArchivosPDF;  // the PDF pieces of the run, in order
  // A folder of this run's own for its pieces; removed with RetirarPiezas.
  QString CarpetaPiezas();
  void RetirarPiezas();
  QString ImpresoraPredeterminadaWindows;
  bool UsarImpresoraPredeterminada = false;

  // The pages of a "Pantalla" run, from 1, with the key of each page's document.
  const RecordedPages& PaginasImpreso() const { return *paginas_; }
  const QStringList& ClavesPaginas() const { return claves_; }
  int NumeroPaginas() const { return ejecucion_.numeroPaginas; }
  // What the commands draw on: the page in work, or the printer's painter.
  PageRecord* PaginaActual() { return paginaAbierta_ ? &pagina_ : nullptr; }
  QPainter* LienzoImpresora() { return painter_.isActive() ? &painter_ : nullptr; }
  // The canvas the commands draw on: the page's picture or the printer job;
  // none for text mode on paper, which goes by the raw channel.
  LienzoImpreso* Lienzo();
  void LiberarPaginas();
  // The pages a PDF run drew, as a PDF file of the run's own that the caller
  // now owns; empty when it drew none. The error text of the file when it
  // could not be written.
  QString TomarPaginasPDF();
  const QString& ErrorPaginasPDF() const { return errorPaginasPDF_; }
  void EnviarCrudo(const QByteArray& bytes) { crudo_ += bytes; }
  const QByteArray& Crudo() const { return crudo_; }

 private:
  // The run's surroundings.
  bool Cancelado() override;
  void Informacion(const QString& texto) override;
  void Aviso(const QString& texto) override;
  bool Confirmar(const QString& texto) override;
  std::optional<QString> PreguntarPrimeraEtiqueta(const QString& texto, const QString& inicial) override;
  bool CopiarArchivo(const QString& origen, const QString& destino) override;
  void PaginaNueva(const QString& clave) override;
  void SaltoPaginaImpresora() override;
  void EjecutarComando(const LineaInstruccion& linea) override;
  void showEvent(QShowEvent* event) override;

  bool EmpezarImpresora(const DefinicionImpreso& impreso);
  bool AbrirTrabajo(const QString& impresora, int copias, const DefinicionImpreso& impreso);
  void AbrirTrabajoTexto(const QString& impresora, int copias, const DefinicionImpreso& impreso);
  void TerminarTrabajo();
  void DescartarTrabajo();
  bool EscribirArchivoSalida() const;
  void GuardarPagina();
  void PaginaPDF();
  void TerminarPaginasPDF();
  QString ValorPrograma(const QString& nombre) const;
  void PrepararVista();
  void DibujarRegla();
  void CentrarImagen();
  // Runs the documents again onto paper and keeps the preview's pages.
  void ImprimirDesdeVista();


  TablasImpreso tablas_;
  EjecucionImpreso ejecucion_;
  std::unique_ptr<Ui::TfGENELIMP> ui_;
  std::unique_ptr<RecordedPages> paginas_;
  std::unique_ptr<QTemporaryDir> piezas_;
  QImage paginaTrabajo_;
  QStringList claves_;
  PageRecord pagina_;
  bool paginaAbierta_ = false;
  QImage imagenPagina_;
  // A PDF run draws on the PDF itself, as a job on a printer, so its text
  // stays text and its lines stay sharp; only pictures are pictures.
  std::unique_ptr<QPdfWriter> escritorPDF_;
  QString paginasPDF_;
  QString errorPaginasPDF_;
  int archivosPaginas_ = 0;
  QPainter pintorPagina_;
  LienzoImpreso lienzoPagina_;
  LienzoImpreso lienzoImpresora_;
  QByteArray crudo_;
  QString documentoCrudo_;
  bool trabajoTexto_ = false;
  int copiasTexto_ = 1;
  std::unique_ptr<QPrinter> impresora_;
  QString archivoSalida_;  // "print to file": the file the job is written to instead
  QPainter painter_;
  bool trabajoFallido_ = false;
};

extern TfGENELIMP* fGENELIMP;
