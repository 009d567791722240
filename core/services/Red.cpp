#include "core/services/Red.h"

#include "platform/NetworkInfo.h"

namespace {

constexpr int kBytesDireccion = 6;

QString textoDireccion(const QByteArray& bytes) {
  QStringList pares;
  for (int i = 0; i < kBytesDireccion; ++i)
    pares.append(QStringLiteral("%1").arg(static_cast<uchar>(bytes[i]), 2, 16, QLatin1Char('0')).toUpper());
  return pares.join(u'-');
}

}  // namespace

QString NombreUniversal(const QString& ruta) { return ruta; }

QString DireccionMAC(const QString& opciones) {
  const QString ceros = QStringLiteral("00-00-00-00-00-00");
  QString direccion;
  // Loopback and interfaces without a hardware address (tunnels) are no
  // network adapters: they neither give an address nor end the walk.
  for (const NetworkInfo::Adapter& adaptador : NetworkInfoSeam::Get().Adapters()) {
    if (adaptador.loopback || adaptador.hardwareAddress.size() < kBytesDireccion) continue;
    direccion = textoDireccion(adaptador.hardwareAddress);
    if (direccion != ceros) break;
  }
  if (opciones.contains(QLatin1String("SinSeparadores"))) {
    direccion.remove(u'-');
    if (direccion.isEmpty()) direccion = QStringLiteral("000000000000");
  }
  return direccion;
}
