#include "core/forms/HijaMDIActiva.h"

#include "core/forms/GanchosFormulario.h"

#include <QMdiArea>
#include <QMdiSubWindow>

QWidget* HijaMDIActiva() {
  QWidget* principal = Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr;
  const QMdiArea* area = principal ? principal->findChild<QMdiArea*>() : nullptr;
  const QMdiSubWindow* hija = area ? area->activeSubWindow() : nullptr;
  return hija ? hija->widget() : nullptr;
}
