#include "core/forms/FormulariosMDI.h"

#include "core/datamodule/SesionesUso.h"
#include "core/forms/GanchosFormulario.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QMdiArea* areaMDI() {
  QWidget* principal = Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr;
  return principal ? principal->findChild<QMdiArea*>() : nullptr;
}

QList<QMdiSubWindow*> hijas() {
  QMdiArea* area = areaMDI();
  return area ? area->subWindowList(QMdiArea::CreationOrder) : QList<QMdiSubWindow*>();
}

// The last child whose name before any "_" (a second copy) is the one given.
QMdiSubWindow* hijaDeNombre(const QString& nombre) {
  const QList<QMdiSubWindow*> lista = hijas();
  for (auto i = lista.crbegin(); i != lista.crend(); ++i)
    if ((*i)->widget() && (*i)->widget()->objectName().section(u'_', 0, 0) == nombre) return *i;
  return nullptr;
}

}  // namespace

QWidget* FormularioMDI(const QString& nombre) {
  for (QMdiSubWindow* hija : hijas())
    if (hija->widget() && hija->widget()->objectName() == nombre) return hija->widget();
  return nullptr;
}

bool BuscarFormularioMDI(const QString& nombre) { return FormularioMDI(nombre) != nullptr; }

void AbrirFormularioMDI(const std::function<QWidget*()>& crear, QWidget*& formulario, const QString& opciones,
                        const QString& nombre) {
  QMdiSubWindow* hija = hijaDeNombre(nombre);
  QString accion = QStringLiteral("Create");
  if (hija && opciones.contains(QLatin1String("Create"))) {
    hija->close();
  } else if (hija) {
    formulario = hija->widget();
    if (hija->isMinimized() || hija->isMaximized()) {
      hija->showNormal();
      hija->widget()->setFocus();
      accion = QStringLiteral("Restore");
    } else {
      hija->show();
      accion = QStringLiteral("Show");
    }
    RegistrarUso(formulario, accion);
    return;
  }
  formulario = crear();
  formulario->setObjectName(nombre);
  if (QMdiArea* area = areaMDI()) area->addSubWindow(formulario)->setAttribute(Qt::WA_DeleteOnClose);
  formulario->show();
  RegistrarUso(formulario, accion);
}
