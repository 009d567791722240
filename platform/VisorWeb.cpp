#include "shell/VisorWeb.h"

#include "platform/DesktopServices.h"

#include <QUrl>

namespace {

class VisorEscritorio : public VisorWeb {
 public:
  void Navegar(QWidget&, const QString& direccion) override {
    DesktopServicesSeam::Get().OpenFile(QUrl(direccion).toLocalFile());
  }
};

}  // namespace

VisorWeb& VisorWeb::Default() {
  static VisorEscritorio visor;
  return visor;
}
