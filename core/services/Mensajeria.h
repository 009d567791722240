#pragma once

#include <QString>

inline constexpr auto kProgramaMensajeria = "PANIWIN.EXE";

// The password the user gave at login; empty when the user has none. The
// login writes it; the internal messaging program receives it.
extern QString ClaveUsuarioActual;

// Starts the internal messaging program of the program folder, when internal
// messaging is on, with the installation settings file, the user's code, the
// user's password ("Indefinida" when empty) and the text as its parameters,
// without waiting for it.
void AbrirMensajeria(const QString& texto);
