#pragma once

#include "platform/Form.h"

#include <memory>

class QListWidget;

namespace Ui {
class TfGENESELE;
}

// The selection list: SeleccionarDeLista fills "ListBox1" and reads the
// lines chosen. "&Salir" gives modal result 5.
class TfGENESELE : public Form {
  Q_OBJECT

 public:
  explicit TfGENESELE(QWidget* owner = nullptr);
  ~TfGENESELE() override;

  QListWidget& ListBox1() const;
  // The lines chosen when the form was shown, each index as a quoted number.
  const QString& SeleccionInicial() const { return seleccionInicial_; }

  void SeleccionarTodo();
  void DeseleccionarTodo();
  void InvertirSeleccion();
  void RestaurarSeleccionInicial();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  static QString indiceEntrecomillado(int indice);

  std::unique_ptr<Ui::TfGENESELE> ui_;
  QString seleccionInicial_;
};

extern TfGENESELE* fGENESELE;

void RegistrarGENESELE();
