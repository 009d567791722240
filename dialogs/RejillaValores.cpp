#include "dialogs/RejillaValores.h"

#include "core/helpers/Letras.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

namespace {

const QString kMarcaBloqueo = QStringLiteral("(*)");

QLineEdit* lineaDe(QWidget* editor) {
  if (auto* linea = qobject_cast<QLineEdit*>(editor)) return linea;
  return editor->findChild<QLineEdit*>();
}

}  // namespace

RejillaValores::RejillaValores(QTableWidget& rejilla)
    : QStyledItemDelegate(&rejilla), NombreMostrado(&SepararPalabras), rejilla_(rejilla) {
  rejilla.horizontalHeader()->setHighlightSections(false);
  rejilla.setItemDelegate(this);
  rejilla.setEditTriggers(QAbstractItemView::AllEditTriggers);
  connect(&rejilla, &QTableWidget::currentCellChanged, this, &RejillaValores::alCambiarCelda);
}

int RejillaValores::AnchoNombres() const {
  const QFontMetrics medidas(rejilla_.font());
  int ancho = 0;
  for (int fila = 0; fila < rejilla_.rowCount(); ++fila)
    if (const QTableWidgetItem* nombre = rejilla_.item(fila, 0))
      ancho = std::max(ancho, medidas.horizontalAdvance(NombreMostrado(nombre->text())));
  return ancho;
}

bool RejillaValores::FilaBloqueada(const QTableWidget& rejilla, int fila) {
  const QTableWidgetItem* nombre = rejilla.item(fila, 0);
  return nombre && nombre->text().contains(kMarcaBloqueo);
}

void RejillaValores::bloquearFilas() {
  for (int fila = 0; fila < rejilla_.rowCount(); ++fila) {
    for (int columna = 0; columna < rejilla_.columnCount(); ++columna) {
      QTableWidgetItem* celda = rejilla_.item(fila, columna);
      if (!celda) rejilla_.setItem(fila, columna, celda = new QTableWidgetItem);
      Qt::ItemFlags permitido = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (columna == 1) permitido |= Qt::ItemIsEditable;
      celda->setFlags(FilaBloqueada(rejilla_, fila) ? Qt::NoItemFlags : permitido);
    }
  }
}

void RejillaValores::EditorSiempreVisible() {
  bloquearFilas();
  int fila = rejilla_.currentRow();
  if (fila < 0 || FilaBloqueada(rejilla_, fila)) {
    fila = 0;
    while (fila < rejilla_.rowCount() && FilaBloqueada(rejilla_, fila)) ++fila;
  }
  if (fila >= rejilla_.rowCount()) return;
  if (rejilla_.currentRow() == fila && rejilla_.currentColumn() == 1)
    rejilla_.editItem(rejilla_.item(fila, 1));
  else
    rejilla_.setCurrentCell(fila, 1);
}

void RejillaValores::ConfirmarEdicion() {
  if (QWidget* editor = rejilla_.indexWidget(rejilla_.currentIndex())) emit commitData(editor);
}

void RejillaValores::alCambiarCelda(int fila, int columna, int filaAnterior, int columnaAnterior) {
  if (fila < 0) return;
  if (FilaBloqueada(rejilla_, fila)) {
    // Back where the focus was: such a row never holds it.
    const QSignalBlocker bloqueo(rejilla_);
    rejilla_.setCurrentCell(filaAnterior, columnaAnterior);
    return;
  }
  // The names are fixed: the value beside takes the focus (and opens its editor).
  if (columna != 1) rejilla_.setCurrentCell(fila, 1);
}

void RejillaValores::initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& indice) const {
  QStyledItemDelegate::initStyleOption(opcion, indice);
  opcion->state |= QStyle::State_Enabled;
  const bool bloqueada = FilaBloqueada(rejilla_, indice.row());
  if (indice.column() == 0) {
    opcion->text = NombreMostrado(opcion->text);
    if (ColorNombres.isValid()) opcion->palette.setColor(QPalette::Text, ColorNombres);
  } else if (bloqueada) {
    opcion->palette.setColor(QPalette::Text, opcion->palette.color(QPalette::Button));
  }
}

QWidget* RejillaValores::createEditor(QWidget* padre, const QStyleOptionViewItem& opcion,
                                      const QModelIndex& indice) const {
  const QStringList lista = indice.data(Qt::UserRole + 1).toStringList();
  if (!lista.isEmpty()) {
    auto* desplegable = new QComboBox(padre);
    desplegable->setEditable(true);
    desplegable->setInsertPolicy(QComboBox::NoInsert);
    desplegable->addItems(lista);
    return desplegable;
  }
  if (!indice.data(Qt::UserRole).toBool()) return QStyledItemDelegate::createEditor(padre, opcion, indice);
  auto* editor = new QWidget(padre);
  editor->setAutoFillBackground(true);
  auto* distribucion = new QHBoxLayout(editor);
  distribucion->setContentsMargins(0, 0, 0, 0);
  distribucion->setSpacing(0);
  auto* linea = new QLineEdit(editor);
  linea->setFrame(false);
  auto* boton = new QToolButton(editor);
  boton->setObjectName(QStringLiteral("BotonElipsis"));
  boton->setText(QStringLiteral("..."));
  distribucion->addWidget(linea);
  distribucion->addWidget(boton);
  editor->setFocusProxy(linea);
  const int fila = indice.row();
  connect(boton, &QToolButton::clicked, this, [this, editor, fila] {
    // The typed text first, so that the dialog starts from it.
    if (QTableWidgetItem* valor = rejilla_.item(fila, 1)) valor->setText(lineaDe(editor)->text());
    if (PulsarElipsis) PulsarElipsis(fila);
  });
  return editor;
}

void RejillaValores::setEditorData(QWidget* editor, const QModelIndex& indice) const {
  const QString texto = indice.data(Qt::EditRole).toString();
  if (auto* desplegable = qobject_cast<QComboBox*>(editor))
    desplegable->setEditText(texto);
  else if (QLineEdit* linea = lineaDe(editor))
    linea->setText(texto);
  else
    QStyledItemDelegate::setEditorData(editor, indice);
}

void RejillaValores::setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const {
  if (auto* desplegable = qobject_cast<QComboBox*>(editor))
    modelo->setData(indice, desplegable->currentText(), Qt::EditRole);
  else if (QLineEdit* linea = lineaDe(editor))
    modelo->setData(indice, linea->text(), Qt::EditRole);
  else
    QStyledItemDelegate::setModelData(editor, modelo, indice);
}

int AlturaConRejilla(const QTableWidget& rejilla, int restoFormulario) {
  const auto alto = [&](int filas) {
    return restoFormulario + rejilla.horizontalHeader()->sizeHint().height() +
           filas * rejilla.verticalHeader()->defaultSectionSize() + 2 * rejilla.frameWidth();
  };
  const QScreen* pantalla = rejilla.screen();
  const int limite = pantalla ? pantalla->availableGeometry().height() - 100 : 0;
  const int todas = alto(rejilla.rowCount());
  return todas > limite ? alto(19) : todas;
}
