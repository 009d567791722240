#pragma once

#include <QString>

// The class name of the text window: a Form with the QPlainTextEdit "Memo1",
// its accept button closing with modal result 1.
inline constexpr auto kFormularioEditorTexto = "TfGENETEXT";

// Lets the user edit a text in the text window (options "Titulo" and
// "Formato"); the edited text when accepted, otherwise the text given.
QString EditarTexto(const QString& opciones, const QString& texto);
