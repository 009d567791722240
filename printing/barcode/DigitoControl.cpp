#include "printing/barcode/DigitoControl.h"

bool SoloDigitos(const QString& texto) {
  if (texto.isEmpty()) return false;
  for (QChar c : texto)
    if (c < u'0' || c > u'9') return false;
  return true;
}

QChar DigitoControl(const QString& digitos, int pesoPrimero, bool alterna) {
  int suma = 0;
  int peso = pesoPrimero;
  for (QChar c : digitos) {
    suma += (c.unicode() - u'0') * peso;
    if (alterna) peso = peso == 1 ? 3 : 1;
  }
  return QChar(u'0' + (10 - suma % 10) % 10);
}
