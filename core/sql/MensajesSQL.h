#pragma once

#include <QString>

#include <exception>

// A plain message box: the text alone, with no kind, title or translation.
void MostrarMensaje(const QString& texto);

// The text of a failure, whatever raised it.
QString TextoExcepcion(const std::exception& error);
