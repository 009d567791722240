#pragma once

#include <QString>

class DestinoComandos;
struct LineaInstruccion;

// A field reference of the field command: "name", "name,n", "name(Euro)".
struct ReferenciaCampo {
  QString nombre;
  int pieza = 0;  // 0: the whole text
  bool euro = false;
};
ReferenciaCampo LeerReferenciaCampo(const QString& referencia);

void ComandoCamp(DestinoComandos& destino, const LineaInstruccion& linea);
