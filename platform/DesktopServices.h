#pragma once

#include "platform/Seam.h"

#include <QString>

// Opens a file or an address in the desktop's default program for its kind,
// as the shell's "open" does.
class DesktopServices {
 public:
  virtual ~DesktopServices() = default;
  // False when no viewer could be started for it.
  virtual bool OpenFile(const QString& path) = 0;
  // An address ("mailto:...", "http://..."); a stand-in that only opens
  // files opens none.
  virtual bool OpenUrl(const QString& address);

  static DesktopServices& Default();
};

using DesktopServicesSeam = Seam<DesktopServices>;
