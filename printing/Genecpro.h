#pragma once

#include "platform/Form.h"
#include "printing/CondicionesListado.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace Ui {
class TfGENECPRO;
}

class CopiaClasificada;
class EstadoDataSetListado;
class Dataset;
class DataSource;
class Query;
class Table;

// The programmable listing: turns a form's table into a listing. Query mode
// lists a SELECT on the physical table and leaves the caller's dataset
// alone; table mode (pbActivarTablaLogica down) filters that dataset in
// place and gives its filter back on close.
class TfGENECPRO : public Form {
  Q_OBJECT

 public:
  explicit TfGENECPRO(QWidget* owner = nullptr);
  ~TfGENECPRO() override;

  Q_INVOKABLE void MostrarListadoProgramable(Dataset* dataSet, const QString& prefijo, const QString& tituloPorDefecto,
                                             const QString& opciones);

  void CargarFormatoListado(bool standard = false);
  bool EjecutarConsultaListado();
  bool AplicarFiltroTabla();
  void pbAgregarClick();
  void pbGuardarClick();
  void pbGuardarComoClick();
  void pbEliminarClick();
  void pbConformeClick();
  void pbCambiarFontClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool modoTabla() const;
  QString claveFormatos() const;
  QString nombreTabla() const;
  QString formatoFecha() const;
  std::vector<RangoCampo> rangos() const;
  QString condicion() const;
  QStringList seleccionados() const;
  void seleccionar(const QStringList& campos);
  void rellenarRangos();
  void cambioPagina(int pagina);
  void deListaARejilla();
  void deRejillaALista();
  void listarFormatos(const QString& elegido);
  void devolverDataSet();
  void ListarInforme(Dataset& resultado);
  void DibujosBotones();

  std::unique_ptr<Ui::TfGENECPRO> ui_;
  Table* Formatos;
  DataSource* DSFormatos;
  Table* TablaTrabajo;
  Query* Query1;
  DataSource* DSAjustar;
  Dataset* dataSet_ = nullptr;
  QString prefijo_;
  QString tituloPorDefecto_;
  std::vector<CampoFiltrable> camposFiltrables_;
  int paginaAnterior_ = 0;
  std::unique_ptr<CopiaClasificada> clasificada_;  // the sorted copy of the last run
  std::unique_ptr<EstadoDataSetListado> prestado_;  // the caller's dataset while table mode has it
};

extern TfGENECPRO* fGENECPRO;

void RegistrarGENECPRO();
