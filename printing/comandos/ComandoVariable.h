#pragma once

class DestinoComandos;
struct LineaInstruccion;

void ComandoVari(DestinoComandos& destino, const LineaInstruccion& linea);
