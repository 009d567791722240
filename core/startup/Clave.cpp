#include "core/startup/Clave.h"

#include "platform/Cp1252.h"

#include <QByteArray>

QString DesencriptarClave(const QString& encriptada) {
  static constexpr char kClave[] = "quilmo";
  const qsizetype longitud = encriptada.size() / 3;
  QByteArray clara(longitud, '\0');
  for (qsizetype i = 1; i <= longitud; ++i) {
    bool esNumero = false;
    const int grupo = encriptada.mid(3 * i - 3, 3).toInt(&esNumero);
    const auto byte = static_cast<unsigned char>((esNumero ? grupo : 0) & 0xFF);
    // Character i takes the key's letter at position (i mod 6) + 1, counted from 1.
    clara[i - 1] = static_cast<char>(byte ^ static_cast<unsigned char>(kClave[i % 6]));
  }
  return Cp1252::decode(clara);
}
