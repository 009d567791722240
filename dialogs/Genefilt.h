#pragma once

#include "platform/Form.h"

#include <QStringList>

#include <memory>

namespace Ui {
class TfGENEFILT;
}

class Dataset;
class DataSource;
class QMenuBar;
class Table;

// The filter dialog: composes a table's filter line by line, keeps it under
// a description in FILTRO (shared by every user) and applies it.
class TfGENEFILT : public Form {
  Q_OBJECT

 public:
  explicit TfGENEFILT(QWidget* owner = nullptr);
  ~TfGENEFILT() override;

  QString NombreTablaFiltro;
  QStringList TiposCampos;

  void pbAgregarClick();
  void Guardar1Click();
  void GuardarComo1Click();
  void Eliminar1Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend void FiltrarTabla(Dataset& dataSet);
  bool abrir(Dataset& dataSet);
  void listarFiltros(const QString& elegido);
  void EditDescripcionFiltroChange();

  std::unique_ptr<Ui::TfGENEFILT> ui_;
  QMenuBar* MainMenu1;
  Table* Filtro;
  DataSource* DSFiltro;
};

extern TfGENEFILT* fGENEFILT;

// Shows the dialog on the dataset (a table or a query) and, when accepted,
// filters it with the condition composed.
void FiltrarTabla(Dataset& dataSet);
