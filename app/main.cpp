#include "app/ProgramaZEM.h"
#include "app/visorweb/VisorWebDiferido.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  VisorWebDiferido::Preparar();
  Application application(argc, argv);
  VisorWebDiferido visorWeb(&VisorWebDiferido::CargarModulo);
  VisorWebSeam::Install(&visorWeb);
  ProgramaZEM programa(application, application.arguments().mid(1));
  programa.Iniciar();
  return programa.Ejecutar();
}
