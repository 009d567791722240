// The program's start, as app/main.cpp makes it, ended the moment the login
// question is asked: the time this process takes is the time a user waits
// for the question.

#include "app/ProgramaZEM.h"
#include "app/visorweb/VisorWebDiferido.h"
#include "platform/Application.h"
#include "platform/MessagePresenter.h"

#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

class FinEnLogin : public MessagePresenter {
 public:
  QString Present(const QString& kind, const QString& text, const QString&) override {
    if (kind == u"P") {
      std::fflush(nullptr);
      std::_Exit(0);
    }
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return {};
  }
};

}  // namespace

int main(int argc, char** argv) {
  VisorWebDiferido::Preparar();
  Application application(argc, argv);
  VisorWebDiferido visorWeb(&VisorWebDiferido::CargarModulo);
  VisorWebSeam::Install(&visorWeb);
  FinEnLogin login;
  MessagePresenterSeam::Install(&login);
  ProgramaZEM programa(application, {});
  programa.Iniciar();
  // The main window asks when it is first shown.
  QTimer::singleShot(0, &application, [] {
    std::fprintf(stderr, "no login question was asked\n");
    std::_Exit(1);
  });
  programa.Ejecutar();
  std::fprintf(stderr, "no login question was asked\n");
  return 1;
}
