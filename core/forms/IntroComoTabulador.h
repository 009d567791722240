#pragma once

class QKeyEvent;
class QWidget;

// Enter pressed on a form: in a grid it moves to the next cell, in a memo it
// stays a line break, elsewhere it moves to the next control. True when the
// key was taken.
bool IntroComoTabuladorMemo(QWidget& formulario, QKeyEvent* tecla);
