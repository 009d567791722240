#pragma once

#include "dialogs/MantenimientoRegistros.h"

#include <memory>

namespace Ui {
class TfGENEIDMA;
}

class DBGrid;
class QKeyEvent;

// The interface languages (IDIOMA) on a card, each with the translations of
// the interface texts (TXIDIOMA) in a grid below it.
class TfGENEIDMA : public MantenimientoRegistros {
  Q_OBJECT

 public:
  explicit TfGENEIDMA(QWidget* owner = nullptr);
  ~TfGENEIDMA() override;

  Table* Table2;
  DataSource* DataSource2;
  DBGrid* Rejilla() const;

  void Eliminar1Click() override;
  void pbConformeClick() override;
  void pbCancelarClick() override;
  // Chooses a language (the only one, or from the list) and searches its texts.
  void Buscar1Click() override;

  // Found by name by the form services, which leave the table's delete step to it.
  Q_INVOKABLE void Table1BeforeDelete(QObject* sender);

 protected:
  bool Editando() const override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Posts the table; false, after the warning, when it could not.
  bool GrabarDatos(Table& tabla);
  void Table2AfterPost();
  void DBGrid1Enter();
  // A new text line of the saved language; false when none can start.
  bool nuevaLinea();
  // The grid's keys that start a line: Insert, Down past the last line, and
  // any typing while the language has none.
  bool teclaRejilla(const QKeyEvent& tecla);
  void ponerDuplicado(Table& tabla, const QString& clave);
  QString ClaveAnterior1, ClaveAnterior2;  // the records current before an insert
  DataSetState EstadoAnterior2 = dsInactive;

  std::unique_ptr<Ui::TfGENEIDMA> ui_;
};
