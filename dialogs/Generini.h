#pragma once

#include "platform/Form.h"

#include <memory>

class QTableWidget;
class RejillaValores;

namespace Ui {
class TfGENERINI;
}

// The name/value editor: EditorRegistroINI fills "StringGrid" (a row per
// name, the header holding the column titles) and gives the Name=Style lines
// in EstilosEdicion; on OK it reads the values back.
class TfGENERINI : public Form {
  Q_OBJECT
  Q_PROPERTY(QString EstilosEdicion READ EstilosEdicion WRITE SetEstilosEdicion)

 public:
  explicit TfGENERINI(QWidget* owner = nullptr);
  ~TfGENERINI() override;

  QString EstilosEdicion() const { return estilosEdicion_; }
  void SetEstilosEdicion(const QString& estilos) { estilosEdicion_ = estilos; }

  QTableWidget& StringGrid();
  // The ellipsis button of a row, by the row's style.
  void StringGridEditButtonClick(int fila);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void pedirRango(int fila);

  std::unique_ptr<Ui::TfGENERINI> ui_;
  RejillaValores* estilo_;
  QString estilosEdicion_;
  int anchoCreacion_;
};

extern TfGENERINI* fGENERINI;

void RegistrarGENERINI();
