#include "app/ProgramaZEM.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  Application application(argc, argv);
  ProgramaZEM programa(application, application.arguments().mid(1));
  programa.Iniciar();
  return programa.Ejecutar();
}
