#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENECALC;
}

// The calculator: a display over digit, operation, decimal-point, equals,
// clear and euro/peseta keys. Calculadora leaves the start value in the
// form's "Valor" property and reads it back, with "Cambiada", once it closes.
class TfGENECALC : public Form {
  Q_OBJECT

 public:
  explicit TfGENECALC(QWidget* owner = nullptr);
  ~TfGENECALC() override;

  QString Visor() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  double valor() const;
  void mostrar(double valor);
  void escribir(const QString& texto);
  void digito(QChar digito);
  void coma();
  void operacion(QChar operacion);
  void igual();
  void borrar();
  void convertir(double factor);
  void pulsacion(QChar tecla);
  void guardar();

  std::unique_ptr<Ui::TfGENECALC> ui_;
  double acumulado_ = 0;
  // The number behind the display, which shows it rounded, until the user types.
  double exacto_ = 0;
  bool exactoVigente_ = false;
  QChar pendiente_;
  bool nuevaEntrada_ = true;
};

extern TfGENECALC* fGENECALC;

void RegistrarGENECALC();
