#include "core/services/PosicionFormulario.h"

#include "core/helpers/Textos.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

PosicionFormulario PosicionGENEMLIS;
PosicionFormulario PosicionGENESELE;
PosicionFormulario PosicionGENETEXT;

void AplicarFormato(const QString& formato, PosicionFormulario& posicion) {
  int* const elementos[] = {&posicion.Left, &posicion.Top, &posicion.Width, &posicion.Height};
  for (int i = 0; i < 4; ++i) {
    bool numero = false;
    const int valor = ExtraerElemento(i, formato, QStringLiteral(",")).trimmed().toInt(&numero);
    if (numero) *elementos[i] = valor;
  }
}

void ColocarFormulario(QWidget& formulario, const PosicionFormulario& posicion, const QWidget* centro) {
  formulario.resize(posicion.Width != 0 ? posicion.Width : formulario.width(),
                    posicion.Height != 0 ? posicion.Height : formulario.height());
  if (posicion.Left != 0 || posicion.Top != 0) {
    formulario.move(posicion.Left, posicion.Top);
    return;
  }
  QRect area;
  if (centro)
    area = centro->frameGeometry();
  else if (const QScreen* pantalla = QGuiApplication::primaryScreen())
    area = pantalla->availableGeometry();
  if (area.isValid()) formulario.move(area.center() - formulario.rect().center());
}

void GuardarPosicion(const QWidget& formulario, PosicionFormulario& posicion) {
  posicion = {formulario.x(), formulario.y(), formulario.height(), formulario.width()};
}
