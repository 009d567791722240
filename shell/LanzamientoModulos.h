#pragma once

#include <QString>

#include <array>

// A menu entry that starts a program of the suite from the program folder.
struct EntradaLanzamiento {
  int tag;  // the icon button that mirrors it; 0 none, -1 a utility entry
  const char* nombre;
  const char* titulo;
  const char* ejecutable;  // with its trailing blank
};

// In the order of the applications menu; the two converters last.
extern const std::array<EntradaLanzamiento, 28> EntradasLanzamiento;

// The executable followed by the common parameters of the suite's programs.
QString LineaComandosModulo(const QString& ejecutable);
// The command of special application n from its configured text: an empty
// text starts ESPEnWIN.EXE, a text without blanks gets the common
// parameters, and a text with blanks is a whole command line, unless it
// names an existing file in the program folder or by its full path, which is
// then the program itself.
QString LineaComandosAplicacionEspecial(int n, const QString& texto);
// Starts the command line from the program folder, without waiting.
void LanzarModulo(const QString& lineaComandos);
