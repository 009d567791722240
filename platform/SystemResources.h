#pragma once

#include "platform/Seam.h"

#include <QString>

// What the machine says of its disks and memory.
class SystemResources {
 public:
  struct Memory {
    double totalBytes = 0;
    double loadPercent = 0;  // the share of the memory in use, 0 to 100
  };

  virtual ~SystemResources() = default;
  // The bytes free to this user on the file system of the path; 0 when it
  // cannot be read.
  virtual qint64 FreeBytes(const QString& path) = 0;
  virtual Memory PhysicalMemory() = 0;

  static SystemResources& Default();
};

using SystemResourcesSeam = Seam<SystemResources>;
