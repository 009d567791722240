#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the encoding of every text file the suite shares with other
// programs. The five bytes Windows leaves undefined map to the C1 controls of
// the same value, as Windows itself does, so every byte survives a round trip.
namespace Cp1252 {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);  // characters outside the code page become '?'
bool Holds(QStringView text);         // whether every character has its byte

}  // namespace Cp1252
