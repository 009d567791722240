#pragma once

#include "platform/VisorWeb.h"

// The forms' web view on the full browser engine (scripts, remote pages).
// Only the program links it: the tests keep to the plain view.
class VisorWebEngine : public VisorWeb {
 public:
  // Before the application object exists: the engine shares the windows'
  // graphics contexts, and runs without its sandbox for root.
  static void Preparar();

  QWidget* Crear(QWidget& panel) override;
  QWidget* CrearSinScripts(QWidget& panel) override;
  void Navegar(QWidget& vista, const QString& direccion) override;
};
