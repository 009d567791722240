#pragma once

#include "core/startup/Configuracion.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

// Every message must be scripted. A program folder with an installation written by the builder (not yet on
// disk until Write), and the start-up globals as they are before start-up.
class ConfiguracionInicio : public ::testing::Test {
 protected:
  ConfiguracionInicio() {
    CarpetaPrograma = carpeta.Path() + u'/';
    AspectoPorDefecto = u"evo+"_qs;
  }

  ScriptedPresenter mensajes;
  TemporaryFolder carpeta;
  InstallationBuilder instalacion{carpeta.Path()};
};
