#pragma once

#include "platform/Form.h"

#include <memory>

namespace Ui {
class TfGENECONF;
}

class DataSource;
class QFileDialog;
class Table;

// The five special applications of the installation (CONFAPLI's one
// record): the name each shows in the main window and the program it runs.
class TfGENECONF : public Form {
  Q_OBJECT

 public:
  explicit TfGENECONF(QWidget* owner = nullptr);
  ~TfGENECONF() override;

  Table* Table1;
  DataSource* DataSource1;
  QFileDialog* OpenDialog1;

  void pbGrabarClick();
  void pbCancelarClick();
  void pbRestablecerClick();
  void pbExaminarClick(QObject* sender);
  void pbAyudaClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RestablecerValores();

  std::unique_ptr<Ui::TfGENECONF> ui_;
};

// The special applications' names and programs written into the
// installation settings file, read afresh so that its other lines stay.
void GrabarAplicacionesEspecialesInstalacion(const QString& archivo, const QStringList& nombres,
                                             const QStringList& ejecutables);
