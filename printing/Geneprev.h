#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENEPREV;
}

class Dataset;
class RecordedPages;
class ReportEngine;
class VistaPagina;

// The preview of the listings: shows the pages as the report makes them,
// moves between pages and zooms, prints all, one page or a range, exports
// them to text, CSV, HTML, Excel or PDF, and cancels a running listing.
class TfGENEPREV : public Form {
  Q_OBJECT

 public:
  explicit TfGENEPREV(QWidget* owner = nullptr);
  ~TfGENEPREV() override;

  // The report's preview event: the form shows and the report is made into
  // it; the pages come in as they are made. formulario names the form that
  // holds the report (the exports' file name); datos and detalle are what the
  // Excel export writes.
  void Previsualizar(ReportEngine& informe, const QString& formulario, Dataset* datos, Dataset* detalle);

  QString EstadoInforme;
  int NumeroPaginas() const { return numeroPaginas_; }
  int PaginaActual() const;
  int Zoom() const;
  const RecordedPages& Paginas() const { return *paginas_; }

  void PaginaDisponible(int pagina);
  void Progreso(qint64 registros);
  void MostrarPagina(int pagina);
  void SetZoom(int porcentaje);
  void pbImprimirClick() { imprimir(false); }
  void pbImprimirPaginaClick() { imprimir(true); }
  void pbExportarClick();
  void pbExportarAExcelClick();
  void pbExportarAPDFClick();
  void CancelarelListado1Click();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Ajuste { Ninguno, Ancho, Completa };
  void Ajustar(Ajuste ajuste);
  void imprimir(bool soloPagina);
  void enviarPaginas(bool soloPagina);
  int zoomAjustado(bool completa) const;
  bool ocupada() const { return generando_ || EstadoInforme == u"En Progreso"; }

  std::unique_ptr<Ui::TfGENEPREV> ui_;
  VistaPagina* vista_;
  std::unique_ptr<RecordedPages> paginas_;
  ReportEngine* informe_ = nullptr;
  QString formulario_;
  Dataset* datos_ = nullptr;
  Dataset* detalle_ = nullptr;
  int numeroPaginas_ = 0;
  bool primeraPendiente_ = false;
  bool generando_ = false;
  bool imprimiendo_ = false;
  bool progresoVisto_ = false;
  Ajuste ajuste_ = Ajuste::Ninguno;
};

extern TfGENEPREV* fGENEPREV;

// The preview of a report, as its preview event opens it: waits until the
// user closes the window.
void PrevisualizarInforme(ReportEngine& informe, const QString& formulario, Dataset* datos, Dataset* detalle);
