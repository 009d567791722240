#include "shell/TeclasConfiguracion.h"

#include "core/services/Ayuda.h"
#include "platform/Form.h"

#include <QApplication>
#include <QKeyEvent>

bool TeclaConfiguracion(Form& formulario, const QKeyEvent& tecla) {
  switch (tecla.key()) {
    case Qt::Key_F1:
      MostrarAyuda(ContextoAyuda(formulario.Caption()));
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    {
      QKeyEvent tabulador(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
      QApplication::sendEvent(&formulario, &tabulador);
      return true;
    }
    default:
      return false;
  }
}
