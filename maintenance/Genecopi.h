#pragma once

#include "platform/Form.h"

#include <QList>

#include <memory>

class Dataset;
class Table;

namespace Ui {
class TfGENECOPI;
}

// The copy of the records a data form shows into the same table of other
// companies, created at start-up and kept.
class TfGENECOPI : public Form {
  Q_OBJECT

 public:
  explicit TfGENECOPI(QWidget* owner = nullptr);
  ~TfGENECOPI() override;

  // Asks twice, lets the user choose the companies and the method, and
  // copies into each chosen company in one transaction of its database: a
  // company that fails is warned of and left as it was, and the next one
  // follows. Each detail table, linked to the main one as its master, is
  // copied record by record of the main table.
  void CopiarRegistros(Dataset& tabla, const QList<Dataset*>& detalles);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct EmpresaDestino {
    int codigo;
    QString nombre;
  };
  bool elegirEmpresas(QList<EmpresaDestino>& elegidas);
  bool copiarAEmpresa(int empresa, Dataset& tabla, const QList<Dataset*>& detalles, QString& motivo);
  void transferir(Dataset& origen, Table& destino);

  std::unique_ptr<Ui::TfGENECOPI> ui_;
  std::unique_ptr<Table> Empresa;
};

extern TfGENECOPI* fGENECOPI;

// The entry points of the data forms: one table, or a table and its detail.
void CopiarRegistrosAOtrasEmpresas(Dataset& tabla);
void CopiarRegistrosAOtrasEmpresasConDetalle(Dataset& tabla, Dataset& detalle);
