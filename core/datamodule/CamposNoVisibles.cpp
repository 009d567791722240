#include "core/datamodule/CamposNoVisibles.h"

#include "core/startup/Configuracion.h"

#include <QStringList>

namespace {

// The items up to the first empty one.
QStringList elementos(const QString& lista) {
  QStringList items;
  for (const QString& item : lista.split(u',')) {
    const QString limpio = item.trimmed();
    if (limpio.isEmpty()) break;
    items.append(limpio);
  }
  return items;
}

}  // namespace

bool CampoNoVisible(const QString& campo) {
  const QStringList items = elementos(CamposNoVisiblesUsuario);
  for (const QString& item : items)
    if (item.startsWith(u'-') && item.mid(1).compare(campo, Qt::CaseInsensitive) == 0) return false;
  for (const QString& item : items)
    if (!item.startsWith(u'-') && campo.contains(item, Qt::CaseInsensitive)) return true;
  return false;
}
