#include "platform/Application.h"
#include "shell/Genemenu.h"

#include <memory>

int main(int argc, char** argv) {
  Application application(argc, argv);
  auto mainWindow = std::make_unique<TfGENEMENU>();
  fGENEMENU = mainWindow.get();
  mainWindow->show();
  return application.Run();
}
