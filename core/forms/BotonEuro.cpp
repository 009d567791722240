#include "core/forms/BotonEuro.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMainWindow>
#include <QMdiSubWindow>

namespace {

// The form a control belongs to: a control inside an MDI child belongs to
// the child, not to the main window around it.
const QWidget* formularioDe(const QWidget* control) {
  for (const QWidget* padre = control->parentWidget(); padre; padre = padre->parentWidget())
    if (padre->isWindow() || qobject_cast<const QDialog*>(padre) || qobject_cast<const QMainWindow*>(padre) ||
        qobject_cast<const QMdiSubWindow*>(padre->parentWidget()))
      return padre;
  return nullptr;
}

}  // namespace

QAbstractButton* BotonEuro(const QWidget* formulario) {
  if (!formulario) return nullptr;
  for (QAbstractButton* boton : formulario->findChildren<QAbstractButton*>(QStringLiteral("pbEuro")))
    if (formularioDe(boton) == formulario) return boton;
  return nullptr;
}
