#pragma once

#include "platform/VisorWeb.h"

// The forms' web view on the full browser engine (scripts, remote pages),
// built as a module of its own that the program loads when the first page
// is shown (VistaWebDiferida): the tests never load it.
class VisorWebEngine : public VisorWeb {
 public:
  QWidget* Crear(QWidget& panel) override;
  QWidget* CrearSinScripts(QWidget& panel) override;
  void Navegar(QWidget& vista, const QString& direccion) override;
};

// The module's one entry, found by this name once it is loaded.
extern "C" VisorWeb* ZemVisorWebEngine();
inline constexpr auto kEntradaVisorWebEngine = "ZemVisorWebEngine";
