#pragma once

#include "platform/Form.h"

#include <QStringList>

#include <memory>

namespace Ui {
class TfGENEBUSA;
}

class ClientDataset;
class DataSource;
class LecturaPaquetes;
class Query;

// The approximate record search, used instead of the record search when the
// installation asks for it: a value for any column, each a "contains" match.
class TfGENEBUSA : public Form {
  Q_OBJECT

 public:
  explicit TfGENEBUSA(QWidget* owner = nullptr);
  ~TfGENEBUSA() override;

  QString TablaBusqueda;
  QStringList ColumnasBusqueda;

  // Shows the form on the table; the chosen row's key values, one per line
  // ("NULL" for an empty one), or the empty text when nothing was chosen.
  QString BuscarAproximado(const QString& tabla);
  void pbBuscarClick();
  // The condition of the values typed: " WHERE (column LIKE '%value%') AND ...".
  QString Condicion() const;
  // The statement of the first rows read; empty before a search.
  const QString& UltimaSentencia() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString clavesElegidas() const;

  std::unique_ptr<Ui::TfGENEBUSA> ui_;
  Query* Query1;
  ClientDataset* ClientDataSet1;
  DataSource* DataSource1;
  std::unique_ptr<LecturaPaquetes> lectura_;
};

extern TfGENEBUSA* fGENEBUSA;
