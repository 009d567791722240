#pragma once

#include "platform/Seam.h"

#include <QString>

// Opens a file in the desktop's default viewer for its kind, as the shell's
// "open" does.
class DesktopServices {
 public:
  virtual ~DesktopServices() = default;
  // False when no viewer could be started for it.
  virtual bool OpenFile(const QString& path) = 0;

  static DesktopServices& Default();
};

using DesktopServicesSeam = Seam<DesktopServices>;
