#pragma once

#include <QString>

// The class name of the selection list form: a Form with the QListWidget
// "ListBox1", its accept button closing with modal result 1.
inline constexpr auto kFormularioSeleccionLista = "TfGENESELE";

// Lets the user choose lines of a list, one per line; a line holding "*" is
// offered chosen, shown without its first "*". Options: "Titulo", "Modo"
// (word "Multiple": several lines), "Opciones" (word "Ordenada": shown
// sorted without regard to case, on the lines without their mark),
// "Formato". The chosen lines in list order joined by CR LF; not accepted,
// the lines offered chosen (in single-choice mode only the last of them).
QString SeleccionarDeLista(const QString& opciones, const QString& lista);
