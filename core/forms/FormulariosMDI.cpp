#include "core/forms/FormulariosMDI.h"

#include "core/datamodule/SesionesUso.h"
#include "core/forms/GanchosFormulario.h"
#include "core/services/FormularioRegistrado.h"
#include "platform/FormRegistry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// A child that closes leaves the area at once, before its deletion comes.
class HijaMDI : public QMdiSubWindow {
 public:
  using QMdiSubWindow::QMdiSubWindow;

 protected:
  void closeEvent(QCloseEvent* event) override {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && mdiArea()) mdiArea()->removeSubWindow(this);
  }
};

QMdiArea* areaMDI() {
  QWidget* principal = Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr;
  return principal ? principal->findChild<QMdiArea*>() : nullptr;
}

QList<QMdiSubWindow*> hijas() {
  QMdiArea* area = areaMDI();
  return area ? area->subWindowList(QMdiArea::CreationOrder) : QList<QMdiSubWindow*>();
}

// The last child, shown or hidden, whose name before any "_" (a second copy)
// is the one given.
QMdiSubWindow* hijaDeNombre(const QString& nombre) {
  const QList<QMdiSubWindow*> lista = hijas();
  for (auto i = lista.crbegin(); i != lista.crend(); ++i)
    if ((*i)->widget() && (*i)->widget()->objectName().section(u'_', 0, 0) == nombre) return *i;
  return nullptr;
}

bool nombreEnUso(const QString& nombre) {
  for (QMdiSubWindow* hija : hijas())
    if (hija->widget() && hija->widget()->objectName() == nombre) return true;
  for (QWidget* ventana : QApplication::topLevelWidgets())
    if (ventana->objectName() == nombre) return true;
  return false;
}

// A second form open under a name takes "_1", a third "_2".
QString nombreLibre(const QString& nombre) {
  QString libre = nombre;
  for (int copia = 1; nombreEnUso(libre); ++copia) libre = nombre + u'_' + QString::number(copia);
  return libre;
}

}  // namespace

QWidget* FormularioMDI(const QString& nombre) {
  for (QMdiSubWindow* hija : hijas())
    if (hija->widget() && !hija->isHidden() && hija->widget()->objectName() == nombre) return hija->widget();
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
      hija->widget()->show();
      accion = QStringLiteral("Show");
    }
    RegistrarUso(formulario, accion);
    return;
  }
  formulario = crear();
  formulario->setObjectName(nombreLibre(nombre));
  if (QMdiArea* area = areaMDI()) {
    auto* nueva = new HijaMDI;
    nueva->setWidget(formulario);
    nueva->setAttribute(Qt::WA_DeleteOnClose);
    area->addSubWindow(nueva);
  }
  formulario->show();
  RegistrarUso(formulario, accion);
}

void AbrirFormularioMDI(const QString& clase, QWidget*& formulario, const QString& opciones, const QString& nombre) {
  AbrirFormularioMDI(
      [&clase] {
        QWidget* creado = FormRegistry::Create(clase, nullptr);
        if (!creado) FormularioNoDisponible(clase);
        return creado;
      },
      formulario, opciones, nombre);
}
