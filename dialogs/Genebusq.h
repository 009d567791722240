#pragma once

#include "dialogs/SentenciaBusqueda.h"
#include "platform/Form.h"

#include <QStringList>

#include <memory>

namespace Ui {
class TfGENEBUSQ;
}

class ClientDataset;
class LecturaPaquetes;
class DataSource;
class QMenu;
class Query;

// The record search: returns the key of the record the user chooses.
class TfGENEBUSQ : public Form {
  Q_OBJECT

 public:
  explicit TfGENEBUSQ(QWidget* owner = nullptr);
  ~TfGENEBUSQ() override;

  // Set by the launcher before it shows the form.
  QString TablaBusqueda;
  QString CondicionAdicional;
  QString CamposSeleccion;
  int IndiceBusqueda = 0;
  // The chosen row's key values, one per line.
  QString ClaveSeleccionada;
  QString FiltroValores;
  bool CargandoCamposBusqueda = false;

  // The search; with the message when nothing matches.
  void pbBuscarClick(bool mostrarMensaje);
  void pbConformeClick();
  // The statement the last search ran (packets read on from it).
  const QString& UltimaSentencia() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void FormClose();
  void pbPersonalizarBusquedaClick();
  void construirListaCampos();
  void aplicarDatosUsuario(const QString& tabla);
  void grabarPersonalizacion();
  void refrescarEstado();
  ModoBusqueda modo() const;
  void ponerModo(ModoBusqueda modo);
  void siguienteModo();
  void elegirCampos(int eleccion);
  bool abrirConsulta(const CriterioBusqueda& criterio);
  bool leerFilas(const CriterioBusqueda& criterio);
  // Whether the fields (joined by ";") are the first ones of an index.
  bool encabezaIndice(const QString& campos) const;
  void prepararColumnas();
  void filtrarPorValor(const QString& operador);
  void cerrarFilas();
  void instalarTeclas();
  // Ctrl+L: the grid's font, its titles in navy.
  void elegirLetraRejilla();
  void instalarMenu();

  std::unique_ptr<Ui::TfGENEBUSQ> ui_;
  Query* Query1;
  QObject* DataSetProvider1;
  ClientDataset* ClientDataSet1;
  DataSource* DataSource1;
  QMenu* PopupMenu1;
  std::unique_ptr<LecturaPaquetes> lectura_;
  QStringList columnas_;
  QStringList claves_;
  QList<QStringList> indices_;  // the fields of the primary and ClaveN indexes
  QString fila_;            // of a table without a key: the engine's row id, where it gives one
  QStringList ordenables_;  // of a table without a key nor row id: the columns its packets are ordered by
};

extern TfGENEBUSQ* fGENEBUSQ;

