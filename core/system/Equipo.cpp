#include "core/system/Equipo.h"

#include "platform/NetworkInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

QString UsuarioWindows() {
  passwd entrada{};
  passwd* encontrada = nullptr;
  const long sugerido = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> memoria(sugerido > 0 ? static_cast<size_t>(sugerido) : 16384);
  if (getpwuid_r(geteuid(), &entrada, memoria.data(), memoria.size(), &encontrada) != 0 || !encontrada ||
      !encontrada->pw_name || !*encontrada->pw_name)
    return QStringLiteral("Unknown");
  return QString::fromLocal8Bit(encontrada->pw_name);
}

QString NombreEquipo() { return NetworkInfoSeam::Get().HostName(); }

bool NombreYDireccionEquipo(QString& nombre, QString& direccion, QString& error) {
  NetworkInfo& red = NetworkInfoSeam::Get();
  error.clear();
  direccion.clear();
  nombre = red.HostName();
  if (nombre.isEmpty()) return false;
  const QStringList direcciones = red.HostAddresses(nombre);
  if (!direcciones.isEmpty()) direccion = direcciones.first();
  return true;
}
