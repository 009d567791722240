#pragma once

#include <QColor>
#include <QStyledItemDelegate>

#include <functional>

class QTableWidget;

// The name/value grid of the generic data dialogs: names shown as words,
// values of rows marked "(*)" drawn in the button-face colour and never
// focused, and the value cell's own editor: a pick list (Qt::UserRole + 1,
// the items; any text may still be typed) or a line with an ellipsis button
// (Qt::UserRole true) whose click goes to PulsarElipsis with the row.
class RejillaValores : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit RejillaValores(QTableWidget& rejilla);

  std::function<void(int fila)> PulsarElipsis;
  // The colour of the names (invalid: the grid's own).
  QColor ColorNombres;
  // How column 0 shows a row's name.
  std::function<QString(const QString& nombre)> NombreMostrado;
  // The width of the widest name as shown.
  int AnchoNombres() const;
  // Locks the "(*)" rows and opens the editor on the current value (the
  // first free row's when none is current); the editor then follows the focus.
  void EditorSiempreVisible();
  // The open editor's text into its cell.
  void ConfirmarEdicion();
  static bool FilaBloqueada(const QTableWidget& rejilla, int fila);

  QWidget* createEditor(QWidget* padre, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override;
  void setEditorData(QWidget* editor, const QModelIndex& indice) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& indice) const override;

 private:
  void bloquearFilas();
  void alCambiarCelda(int fila, int columna, int filaAnterior, int columnaAnterior);

  QTableWidget& rejilla_;
};

// The height of a form whose grid shows every row and the header over the
// rest of the form (margins and panels); 20 rows, header included, when
// that would not fit the screen less 100 pixels.
int AlturaConRejilla(const QTableWidget& rejilla, int restoFormulario);
