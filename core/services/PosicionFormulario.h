#pragma once

#include <QString>

class QWidget;

// Where a generic form created per use was last left: Left, Top, Height and
// Width; Left and Top both 0 centre it, Width or Height 0 keep its design size.
struct PosicionFormulario {
  int Left = 0;
  int Top = 0;
  int Height = 0;
  int Width = 0;
};

extern PosicionFormulario PosicionGENEMLIS;
extern PosicionFormulario PosicionGENESELE;
extern PosicionFormulario PosicionGENETEXT;

// The option "Formato": Left, Top, Width and Height joined by ","; each
// element that is a whole number replaces its value, the others leave it.
void AplicarFormato(const QString& formato, PosicionFormulario& posicion);
// At creation: placed there, or centred on the widget given (none: on the screen).
void ColocarFormulario(QWidget& formulario, const PosicionFormulario& posicion, const QWidget* centro = nullptr);
// At closing.
void GuardarPosicion(const QWidget& formulario, PosicionFormulario& posicion);
