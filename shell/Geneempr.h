#pragma once

#include "dialogs/MantenimientoRegistros.h"

#include <memory>

namespace Ui {
class TfGENEEMPR;
}

class Query;

// The companies of the installation (EMPRESA), edited in a grid: adding a
// company creates its database, deleting one may drop it.
class TfGENEEMPR : public MantenimientoRegistros {
  Q_OBJECT

 public:
  explicit TfGENEEMPR(QWidget* owner = nullptr);
  ~TfGENEEMPR() override;

  Query* Query1;

  // Found by name by the form services, which leave the table's own delete
  // step to it.
  Q_INVOKABLE void Table1BeforeDelete(QObject* sender);
  Q_INVOKABLE void Table1AfterPost(QObject* sender);

 protected:
  void Table1BeforePost(Dataset& dataset) override;

 private:
  // The reason the company's database could not be dropped, empty when it was.
  QString eliminarBaseDatos(int empresa);

  std::unique_ptr<Ui::TfGENEEMPR> ui_;
};

extern TfGENEEMPR* fGENEEMPR;
