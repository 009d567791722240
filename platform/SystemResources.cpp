#include "platform/SystemResources.h"

#include <QStorageInfo>

#include <sys/sysinfo.h>

namespace {

class KernelResources : public SystemResources {
 public:
  qint64 FreeBytes(const QString& path) override {
    const QStorageInfo disco(path);
    return disco.isValid() ? disco.bytesAvailable() : 0;
  }

  Memory PhysicalMemory() override {
    struct sysinfo datos {};
    if (sysinfo(&datos) != 0 || datos.totalram == 0) return {};
    const double unidad = datos.mem_unit;
    const double total = static_cast<double>(datos.totalram) * unidad;
    // Memory the kernel keeps as buffers can be had back at once: it is not in use.
    const double libre = static_cast<double>(datos.freeram + datos.bufferram) * unidad;
    return {total, 100.0 * (total - libre) / total};
  }
};

}  // namespace

SystemResources& SystemResources::Default() {
  static KernelResources recursos;
  return recursos;
}
