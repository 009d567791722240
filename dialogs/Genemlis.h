#pragma once

#include "platform/Form.h"

#include <QStringList>

#include <memory>

class DataSource;
class DBGrid;
class Field;
class QMenu;
class QModelIndex;
class QStyleOptionViewItem;
class Table;

namespace Ui {
class TfGENEMLIS;
}

// The list maintenance form: a grid over the temporary table "Temporal"
// that MantenimientoLista makes, fills and reads back. Cells recompute the
// column formulas and check their lookups when left; rows are drawn in the
// colour and style their "EstiloLinea" names; totals, value filters, the
// detail of a memo and the listing of the rows.
class TfGENEMLIS : public Form {
  Q_OBJECT
  Q_PROPERTY(QStringList FormulasCampos MEMBER formulasCampos_)
  Q_PROPERTY(QStringList BusquedasCampos MEMBER busquedasCampos_)
  Q_PROPERTY(QStringList LimitesFilas MEMBER limitesFilas_)
  Q_PROPERTY(QStringList TiposFilas MEMBER tiposFilas_)
  Q_PROPERTY(QString CamposTotalizadores MEMBER camposTotalizadores_)
  Q_PROPERTY(bool AnchoPorTipo MEMBER anchoPorTipo_)
  Q_PROPERTY(bool NoRedimensionar MEMBER noRedimensionar_)
  Q_PROPERTY(QString ModoLista MEMBER modoLista_)
  Q_PROPERTY(QStringList LineasOriginales READ LineasOriginales)
  Q_PROPERTY(bool Restaurando READ Restaurando)

 public:
  explicit TfGENEMLIS(QWidget* owner = nullptr);
  ~TfGENEMLIS() override;

  Table& Temporal() const { return *temporal_; }
  DBGrid& DBGrid1() const;
  QMenu& PopupMenu1() const { return *popupMenu1_; }
  const QStringList& LineasOriginales() const { return lineasOriginales_; }
  bool Restaurando() const { return restaurando_; }

  // "&Restablecer": the rows as they were when the form was shown.
  void Restablecer();
  void CalcularTotales();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool seleccionDesdeHasta() const { return modoLista_ == u"SeleccionDesdeHasta"; }
  void ajustarColumnas();
  QStringList lineasTabla();
  void escribirLineas(const QStringList& lineas);
  void comprobarCelda(Field* campo);
  void aplicarFormulas(const Field& campo);
  void comprobarBusquedas(const Field& campo);
  void comprobarDesdeHasta(Field& campo);
  QString busquedaDe(const Field& campo) const;
  void dobleClic();
  void filtrar(const QStringList& operadores);
  void cancelarFiltros();
  void verDetalle();

  std::unique_ptr<Ui::TfGENEMLIS> ui_;
  Table* temporal_;
  DataSource* dataSource1_;
  QMenu* popupMenu1_;
  QStringList formulasCampos_;
  QStringList busquedasCampos_;
  QStringList limitesFilas_;
  QStringList tiposFilas_;
  QStringList lineasOriginales_;
  QString camposTotalizadores_;
  QString modoLista_;
  bool anchoPorTipo_ = false;
  bool noRedimensionar_ = false;
  bool restaurando_ = true;
};

extern TfGENEMLIS* fGENEMLIS;

void RegistrarGENEMLIS();
