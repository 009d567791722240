#pragma once

#include "dialogs/MantenimientoRegistros.h"

#include <memory>

namespace Ui {
class TfGENECAUS;
}

class Table;

// The custom user fields (CAMPOUSR): per table of the company database, the
// extra columns the database update adds. Saving a definition changes no
// company table.
class TfGENECAUS : public MantenimientoRegistros {
  Q_OBJECT

 public:
  explicit TfGENECAUS(QWidget* owner = nullptr);
  ~TfGENECAUS() override;

  Table* Table2;  // EMPRESA: its first company's tables are listed
  bool CambiosRealizados = false;

 protected:
  bool ComprobarDatos(QWidget* control) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void cargarTablas();
  void Table1BeforeInsert();
  void Table1NewRecord();
  void Table1AfterPost();
  bool comprobarNombre(bool registro);
  bool comprobarLongitud();
  bool ValidarValorColumna(int columna);

  std::unique_ptr<Ui::TfGENECAUS> ui_;
  QString claveAnterior_;  // the current record's key before an insert
};
