#include "core/forms/TraduccionElementos.h"

#include "core/forms/GanchosFormulario.h"

#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QStyledItemDelegate>

namespace {

class ElementoTraducido : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QString displayText(const QVariant& valor, const QLocale& locale) const override {
    const QString texto = QStyledItemDelegate::displayText(valor, locale);
    return Ganchos().TraducirLista ? Ganchos().TraducirLista(texto) : texto;
  }
};

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
  lista.setItemDelegate(new ElementoTraducido(&lista));
  lista.view()->setItemDelegate(lista.itemDelegate());
}

void TraducirElementos(QListWidget& lista) {
  if (delegadoPropio(lista.itemDelegate())) return;
  lista.setItemDelegate(new ElementoTraducido(&lista));
}
