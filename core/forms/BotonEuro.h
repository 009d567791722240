#pragma once

class QAbstractButton;
class QWidget;

// The euro button ("pbEuro") the form owns itself; not one of a form inside it.
QAbstractButton* BotonEuro(const QWidget* formulario);
