#pragma once

#include "platform/Form.h"

#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class Table;

namespace Ui {
class TfGENETEST;
}

// The performance test: three database workloads timed on this machine and
// compared with reference times measured on a known one, scaled to the
// amount of work asked for.
class TfGENETEST : public Form {
  Q_OBJECT

 public:
  explicit TfGENETEST(QWidget* owner = nullptr);
  ~TfGENETEST() override;

  // Temporary tables created and deleted.
  void pbTest1Click();
  // Records appended to a temporary table.
  void pbTest2Click();
  // Records appended to the company's table TEST, emptied before and after.
  void pbTest3Click();
  // The three, once confirmed.
  void pbTodosClick();
  void MostrarEstado(const QString& texto);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Prueba {
    const char* referencia;  // the reference time for cuenta
    int cuenta;
    int paso;                // the progress is shown every paso records
    const char* descripcion;
    const char* progreso;
    QLineEdit* numero;
    QLabel* referenciaPanel;
    QLabel* tiempoPanel;
    QLabel* ratioPanel;
  };
  struct Trabajo {
    std::function<void()> antes;
    std::function<void(int)> paso;
    std::function<void()> despues;
    bool guardado = false;  // a failure ends the work silently
  };
  void ejecutar(const Prueba& prueba, const Trabajo& trabajo);
  void crearTablaTemporal();
  void borrarTablaTemporal();

  std::unique_ptr<Ui::TfGENETEST> ui_;
  Table* Temporal;
  Table* TablaTest;
};

extern TfGENETEST* fGENETEST;

// The main menu opens it by its class name.
void RegistrarGENETEST();
