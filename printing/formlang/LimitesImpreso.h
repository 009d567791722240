#pragma once

#include "printing/formlang/AjustesImpreso.h"
#include "printing/formlang/GeometriaImpreso.h"
#include "printing/formlang/ProgramaImpreso.h"

#include <optional>

// What one page of a printout holds, in the program's units: millimetres, or
// columns and text rows in text mode.
struct PaginaImpreso {
  double ancho = 210;
  double alto = 297;
  bool modoTexto = false;

  static PaginaImpreso De(const DimensionesPapel& papel, bool modoTexto);
  qint64 Columnas() const;  // whole columns (or millimetres) across, rounded up
  qint64 Filas() const;     // whole rows (or millimetres) down, rounded up
};

inline constexpr double MenorCompresion = 0.1;
inline constexpr double MayorCompresion = 10;

// The first line of the program, as written, whose settings, sizes or
// counts would draw or move beyond the page: compression outside one tenth to
// ten, margins and label pitches beyond the paper, more labels than
// millimetres, a lines area off the page, a font size that is missing or
// taller than the page, a text box wider than the page. Unreadable numbers
// are not refused: they leave their setting as it was. `ajustes` are the
// settings [SISTEMA] left, whose compression the sizes are scaled by.
std::optional<QString> LineaFueraDePagina(const ProgramaImpreso& programa, const AjustesImpreso& ajustes,
                                          const PaginaImpreso& pagina);

// The warning that refuses such a line.
QString AvisoFueraDePagina(const QString& linea);
