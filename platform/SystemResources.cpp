#include "platform/SystemResources.h"

#include <QFile>
#include <QStorageInfo>

namespace {

// A "Name:   value kB" line of the kernel's memory report, in bytes.
double bytesDeMemoria(const QByteArray& informe, const QByteArray& nombre) {
  const qsizetype inicio = informe.indexOf('\n' + nombre + ':');
  if (inicio < 0) return 0;
  const qsizetype fin = informe.indexOf('\n', inicio + 1);
  const QList<QByteArray> partes = informe.mid(inicio + nombre.size() + 2, fin - inicio - nombre.size() - 2).simplified().split(' ');
  return partes.value(0).toDouble() * 1024.0;
}

class KernelResources : public SystemResources {
 public:
  qint64 FreeBytes(const QString& path) override {
    const QStorageInfo disco(path);
    return disco.isValid() ? disco.bytesAvailable() : 0;
  }

  Memory PhysicalMemory() override {
    QFile archivo(QStringLiteral("/proc/meminfo"));
    if (!archivo.open(QIODevice::ReadOnly)) return {};
    const QByteArray informe = '\n' + archivo.readAll();
    const double total = bytesDeMemoria(informe, "MemTotal");
    if (total <= 0) return {};
    // What the kernel could hand out at once, its page cache included, is not in use.
    const double disponible = bytesDeMemoria(informe, "MemAvailable");
    return {total, 100.0 * (total - disponible) / total};
  }
};

}  // namespace

SystemResources& SystemResources::Default() {
  static KernelResources recursos;
  return recursos;
}
