#pragma once

#include "platform/VisorWeb.h"

#include <functional>

// The program's web view: a panel that makes the real view, of the engine
// the loader gives, only when it is first shown, so that neither the engine
// nor its libraries load before a page is seen. The address asked for
// before then is shown then.
class VisorWebDiferido : public VisorWeb {
 public:
  // The engine's view maker, asked once; nullptr keeps to the plain view.
  using Cargador = std::function<VisorWeb*()>;
  explicit VisorWebDiferido(Cargador cargador);

  QWidget* Crear(QWidget& panel) override;
  QWidget* CrearSinScripts(QWidget& panel) override;
  void Navegar(QWidget& vista, const QString& direccion) override;

  // The view maker, loaded at the first call.
  VisorWeb& Motor();

  // Before the application object exists: the engine's diagnostics kept
  // out of the terminal unless the user sets his own. Nothing of OpenGL:
  // the program starts without it.
  static void Preparar();
  // The engine module beside the program, and the OpenGL its views share.
  static VisorWeb* CargarModulo();

 private:
  QWidget* crear(QWidget& panel, bool scripts);

  Cargador cargador_;
  VisorWeb* motor_ = nullptr;
};
