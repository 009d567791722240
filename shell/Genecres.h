#pragma once

#include "dialogs/MantenimientoRegistros.h"

#include <memory>

namespace Ui {
class TfGENECRES;
}

class QListWidget;

// Per table of a company's database (CONFRESP), the document responsibility
// items asked for when one of its records is saved, and the operators that
// may sign as doer or approver.
class TfGENECRES : public MantenimientoRegistros {
  Q_OBJECT

 public:
  explicit TfGENECRES(QWidget* owner = nullptr);
  ~TfGENECRES() override;

  Table* Table2 = nullptr;  // RESPDOC, for its field list
  // False when no company was chosen or its abbreviation could not be read:
  // the form is then not shown.
  bool Abierto() const { return abierto_; }

  void CargarListas();
  void pbANoAccesiblesClick();
  void pbANoAccesiblesTodoClick();
  void pbAAccesiblesClick();
  void pbAAccesiblesTodoClick();
  void AsignarOperariosporDefecto1Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ActivarFlechas();
  // The requested list written into CamposSolicitados.
  void escribirSolicitados();
  // Moves the lines to the other list (as field names when leaving the
  // requested one) and selects the line at the first place left.
  void mover(QListWidget& origen, QListWidget& destino, bool todas);

  std::unique_ptr<Ui::TfGENECRES> ui_;
  bool abierto_ = false;
};
