#pragma once

class DestinoComandos;
struct LineaInstruccion;

void ComandoRect(DestinoComandos& destino, const LineaInstruccion& linea);
void ComandoLine(DestinoComandos& destino, const LineaInstruccion& linea);
void ComandoFont(DestinoComandos& destino, const LineaInstruccion& linea);
