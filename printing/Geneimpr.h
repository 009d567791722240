#pragma once

#include "dialogs/MantenimientoRegistros.h"

#include <memory>

namespace Ui {
class TfGENEIMPR;
}

// The printed-form definitions (IMPRESO) on a card: code, description, type,
// mode, paper, default printer and the program, with its import and export
// as text and a simulation through the engine's preview.
class TfGENEIMPR : public MantenimientoRegistros {
  Q_OBJECT

 public:
  explicit TfGENEIMPR(QWidget* owner = nullptr);
  ~TfGENEIMPR() override;

  void pbSimularClick();
  void pbImportarClick();
  void pbExportarClick();
  void pbCambiarFontClick();

  // Whether "Copiar Registros a Otras Empresas..." copies when run from the
  // program of that file name: not from the manager and its configuration run.
  static bool CopiaAOtrasEmpresas(const QString& ejecutable);
  // The document types offered, sorted.
  static const QStringList& TiposDocumento();

 protected:
  bool ComprobarDatos(QWidget* control) override;
  void Table1BeforePost(Dataset& dataset) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The company the definitions are kept for; false when none was chosen.
  bool ElegirEmpresa();

  std::unique_ptr<Ui::TfGENEIMPR> ui_;
  bool sinEmpresa_ = false;
  bool grabado_ = false;
};

extern TfGENEIMPR* fGENEIMPR;

// Makes the form known by its class name to the layers below.
void RegistrarGENEIMPR();
