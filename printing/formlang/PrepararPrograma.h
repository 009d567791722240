#pragma once

#include "printing/formlang/AjustesImpreso.h"
#include "printing/formlang/ProgramaImpreso.h"

// A program ready to run: its sections and the settings its [SISTEMA] left.
// The lines area's start and end outlive one program, so a document naming
// another printout keeps them unless its own program sets them.
struct ProgramaPreparado {
  ProgramaImpreso programa;
  AjustesImpreso ajustes;
  qint64 lineasPorPagina = 0;
  qint64 etiquetasPorPagina = 1;
  qint64 siguienteEtiqueta = 2;  // past the last slot, so the first document opens a page
};

ProgramaPreparado PrepararPrograma(const QString& texto, const AjustesImpreso& anteriores = AjustesImpreso());
