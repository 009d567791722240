#pragma once

#include "printing/formlang/LineaInstruccion.h"

class DestinoComandos;

// The drawing and value commands of a printed-form program, by keyword; an
// unknown keyword does nothing.
void EjecutarComandoImpreso(DestinoComandos& destino, const LineaInstruccion& linea);

// Puts the command table into the engine's slot.
void InstalarComandosImpreso();
