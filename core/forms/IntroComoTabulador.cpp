#include "core/forms/IntroComoTabulador.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

bool IntroComoTabuladorMemo(QWidget& formulario, QKeyEvent* tecla) {
  if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter) return false;
  QWidget* activo = formulario.focusWidget();
  if (qobject_cast<QPlainTextEdit*>(activo) || qobject_cast<QTextEdit*>(activo)) return false;
  // A grid takes Tab as its next cell; any other control hands the focus on.
  QKeyEvent tabulador(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(activo ? activo : &formulario, &tabulador);
  return true;
}
