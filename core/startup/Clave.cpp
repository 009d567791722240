#include "core/startup/Clave.h"

#include "platform/Cp1252.h"

#include <QByteArray>

namespace {

constexpr char kClave[] = "quilmo";

// Character i (from 1) takes the key's letter at position (i mod 6) + 1, counted from 1.
unsigned char letraClave(qsizetype i) { return static_cast<unsigned char>(kClave[i % 6]); }

}  // namespace

QString EncriptarClave(const QString& clara) {
  const QByteArray bytes = Cp1252::encode(clara);
  QString encriptada;
  encriptada.reserve(bytes.size() * 3);
  for (qsizetype i = 1; i <= bytes.size(); ++i) {
    const int byte = static_cast<unsigned char>(bytes[i - 1]) ^ letraClave(i);
    encriptada += QStringLiteral("%1").arg(byte, 3, 10, QLatin1Char('0'));
  }
  return encriptada;
}

QString DesencriptarClave(const QString& encriptada) {
  const qsizetype longitud = encriptada.size() / 3;
  QByteArray clara(longitud, '\0');
  for (qsizetype i = 1; i <= longitud; ++i) {
    bool esNumero = false;
    const int grupo = encriptada.mid(3 * i - 3, 3).toInt(&esNumero);
    const auto byte = static_cast<unsigned char>((esNumero ? grupo : 0) & 0xFF);
    clara[i - 1] = static_cast<char>(byte ^ letraClave(i));
  }
  return Cp1252::decode(clara);
}
