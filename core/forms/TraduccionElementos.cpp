#include "core/forms/TraduccionElementos.h"

#include "core/forms/GanchosFormulario.h"

#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QStyledItemDelegate>

namespace {

// Items drawn translated; owner-drawn combo boxes draw them at a fixed
// height (0 keeps the style's).
class ElementoTraducido : public QStyledItemDelegate {
 public:
  ElementoTraducido(QObject* padre, int altura) : QStyledItemDelegate(padre), altura_(altura) {}
  QString displayText(const QVariant& valor, const QLocale& locale) const override {
    const QString texto = QStyledItemDelegate::displayText(valor, locale);
    return Ganchos().TraducirLista ? Ganchos().TraducirLista(texto) : texto;
  }
  QSize sizeHint(const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
    QSize tamano = QStyledItemDelegate::sizeHint(opcion, indice);
    if (altura_ > 0) tamano.setHeight(altura_);
    return tamano;
  }

 private:
  int altura_;
};

constexpr int kAlturaElementoCombo = 15;

// Qt's own delegates only: a list drawn by the form's own is its business.
bool delegadoPropio(const QAbstractItemDelegate* delegado) {
  if (!delegado) return false;
  const QByteArray clase = delegado->metaObject()->className();
  return clase != "QStyledItemDelegate" && clase != "QComboBoxDelegate" && clase != "QComboMenuDelegate" &&
         clase != "QItemDelegate";
}

}  // namespace

void TraducirElementos(QComboBox& lista) {
  if (delegadoPropio(lista.itemDelegate())) return;
  lista.setItemDelegate(new ElementoTraducido(&lista, kAlturaElementoCombo));
  lista.view()->setItemDelegate(lista.itemDelegate());
}

void TraducirElementos(QListWidget& lista) {
  if (delegadoPropio(lista.itemDelegate())) return;
  lista.setItemDelegate(new ElementoTraducido(&lista, 0));
}
