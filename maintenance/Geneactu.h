#pragma once

#include "maintenance/DefinicionesTraspaso.h"
#include "platform/Form.h"

#include <memory>

class QComboBox;
class QFileDialog;
class QListWidget;
class QStatusBar;
class Table;

namespace Ui {
class TfGENEACTU;
}

// The transfer of an older installation (Paradox folder or Interbase
// database) into the current databases: the first "Traspasar" loads the
// tables of the conversion file, the second copies the chosen ones.
class TfGENEACTU : public Form {
  Q_OBJECT

 public:
  explicit TfGENEACTU(QWidget* owner = nullptr);
  ~TfGENEACTU() override;

  QComboBox& BaseDatosOrigen() const;
  QListWidget& ListaTablas() const;
  QStatusBar& Estado() const;
  QFileDialog* OpenDialog1;
  // The work table of the conversion file's lines, from show to close.
  std::unique_ptr<Table> Temporal;

  void BaseDatosOrigenChange();
  void pbActualizarClick();
  void pbCancelarClick();
  void pbExaminarClick();
  void pbAyudaClick();
  void MostrarEstado(const QString& texto);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CargarConversion();
  void AgregarCamposUsuario(class TraspasoTablas& traspaso);
  QList<int> EmpresasATraspasar();
  void Traspasar();
  void crearTemporal();

  std::unique_ptr<Ui::TfGENEACTU> ui_;
  DefinicionesTraspaso definiciones_;
  bool traspasando_ = false;
};

extern TfGENEACTU* fGENEACTU;

void RegistrarGENEACTU();
