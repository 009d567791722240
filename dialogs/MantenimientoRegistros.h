#pragma once

#include "platform/Form.h"
#include "platform/data/Dataset.h"

#include <QString>

class DBGrid;
class DataSource;
class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QTabWidget;
class QWidget;
class Table;

// The maintenance form of a master table: a control panel of navigation and
// edit buttons, the "&Ficha" menu with the same commands, one table Table1
// edited in a grid (new records appended, the key in column 0) or on a card
// (new records inserted, the key in an edit), the key checked when it is
// left and the commands enabled by the table's state. A member lays out its
// data controls in Datos(), then calls Iniciar from its constructor.
class MantenimientoRegistros : public Form {
  Q_OBJECT

 public:
  enum Variante { Rejilla, Ficha };

  MantenimientoRegistros(Variante variante, QWidget* owner = nullptr);
  ~MantenimientoRegistros() override;

  Table* Table1;
  DataSource* DataSource1;
  DBGrid* DBGrid1 = nullptr;  // the grid variant's

  // The commands of the buttons and of the menu; a master with detail lines
  // gives its own for both tables.
  void pbPrimeroClick();
  void pbUltimoClick();
  void pbAnteriorClick();
  void pbSiguienteClick();
  virtual void Eliminar1Click();
  void AgregarClick();
  virtual void pbConformeClick();
  virtual void pbCancelarClick();
  void pbRefrescarClick();
  void IralPaneldeControl1Click();
  virtual void Buscar1Click();
  void FiltrarRegistros1Click();
  void EliminacionMultiple1Click();
  void ListadoProgramable1Click();
  void CopiarRegistrosaOtrasEmpresas1Click();
  void Ayuda1Click();
  void GrabarDatos();
  // The key check on leaving the key edit (card) or a grid column (grid);
  // false when the move is refused.
  bool CampoClaveExit();
  bool DBGrid1ColExit(int columna);
  // Runs ComprobarDatos on the control and makes it active again when it fails.
  bool ValidacionWinControl(QWidget* control);

  bool ClaveModificada = false;

 protected:
  // The member's data area, above the control panel.
  QWidget* Datos() const { return datos_; }
  // The common creation steps: the caption, the key (the key edit of a card,
  // the key field's name of both), the tables opened and translated.
  void Iniciar(const QString& titulo, const QString& nombreCampoClave, QWidget* campoClave = nullptr);
  // The grid of the grid variant, its key in column 0.
  void AsignarRejilla(DBGrid* rejilla);
  // The pages of a card, the first one shown on insert.
  void AsignarPaginas(QTabWidget* paginas) { paginas_ = paginas; }

  // The member's own check of the control being left; passes by default.
  virtual bool ComprobarDatos(QWidget* control);
  virtual void Table1BeforePost(Dataset& dataset);
  void ActivarBotones(bool editando);
  // Ctrl+Delete in a grid: the table's current line, once confirmed.
  void EliminarLinea(Table& tabla);
  // Starts the next new record after an inserted one was saved.
  void SiguienteNuevoRegistro();
  // Whether the table is being edited, inserted or key-set.
  virtual bool Editando() const;
  // A new record of one of the form's tables as it was started, the others
  // browsing: nothing typed in it yet, not even in a control that stores its
  // text only when left.
  bool NuevoRegistroIntacto() const;
  // Once the tables are open: a table created at its opening posts its
  // first records before the form's checks apply.
  bool Iniciado() const { return iniciado_; }
  QWidget* ControlActivo() const;
  QAction* Accion(const char* nombre) const;
  QPushButton* Boton(const char* nombre) const;

  QString NombreCampoClave;
  QWidget* CampoClave = nullptr;
  // The grid's leading columns that make the key: protected from edits, the
  // last of them checked for a repeated key when a new line leaves it.
  int ColumnasClave = 1;
  // The grid column being left while its check runs; -1 outside one.
  int ColumnaDejada() const { return columnaDejada_; }
  DataSetState EstadoAnterior = dsInactive;

  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void construirPanel();
  void construirMenu();
  void DataSource1StateChange();
  void CampoClaveChange();
  void Table1BeforeEdit();
  void DBGrid1KeyDown(QKeyEvent* tecla, bool& tratada);
  // Moves the grid's column without the check of the column left.
  void seleccionarColumna(int columna);
  // A new line appended to the grid.
  void AnadirLinea();
  void mostrarPrimeraPagina();
  void enfocarClave();
  bool comprobarClaveNumerica();
  bool comprobarUnicidadFicha();
  bool comprobarUnicidadRejilla();

  Variante variante_;
  QWidget* datos_;
  QMenuBar* MainMenu1_;
  QTabWidget* paginas_ = nullptr;
  int columnaActual_ = 0;
  int columnaDejada_ = -1;
  bool comprobando_ = false;
  bool iniciado_ = false;
};
