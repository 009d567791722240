#pragma once

#include <QString>

class DestinoComandos;
class QImage;
struct LineaInstruccion;

// The picture of a barcode drawn upright, turned as the turn word says:
// "Girar+90", "Girar-90", "Girar180"; another word gives a blank picture.
QImage GirarCodigoBarras(const QImage& dibujo, int ancho, int alto, const QString& giro);
void ComandoCBar(DestinoComandos& destino, const LineaInstruccion& linea);
