#pragma once

#include "platform/Seam.h"

#include <QString>

class QWidget;

// The about box's web view: shows the page of the address inside the panel.
class VisorWeb {
 public:
  virtual ~VisorWeb() = default;
  virtual void Navegar(QWidget& panel, const QString& direccion) = 0;

  // Without an embedded browser the page opens in the desktop's viewer.
  static VisorWeb& Default();
};

using VisorWebSeam = Seam<VisorWeb>;
