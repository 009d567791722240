#include "app/ProgramaZEM.h"
#include "app/visorweb/VisorWebEngine.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  VisorWebEngine::Preparar();
  Application application(argc, argv);
  VisorWebEngine visorWeb;
  VisorWebSeam::Install(&visorWeb);
  ProgramaZEM programa(application, application.arguments().mid(1));
  programa.Iniciar();
  return programa.Ejecutar();
}
